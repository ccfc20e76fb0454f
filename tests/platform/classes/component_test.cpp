// Ownership, free notification and names of components.
#include <gtest/gtest.h>

#include "TestComponents.h"

namespace {

// Records the notifications it hears and which components were gone by then.
class TWatcher : public TComponent {
    VK_CLASS(TWatcher, TComponent)
public:
    void Notification(TComponent* c, TOperation op) override
    {
        inherited::Notification(c, op);
        if (op == opRemove)
            Heard.push_back(c->Name());
    }
    std::vector<QString> Heard;
};

}  // namespace

#include "classes/Published.h"
VK_PUBLISHED(TWatcher) {}

TEST(Ownership, OwnerFreesWhatItOwnsAndListsStayCurrent)
{
    auto* root = New<TComponent>(nullptr);
    auto* a = New<TComponent>(root);
    auto* b = New<TComponent>(root);
    a->SetName(QStringLiteral("A"));
    b->SetName(QStringLiteral("B"));
    ASSERT_EQ(root->ComponentCount(), 2);
    EXPECT_EQ(root->Components(1), b);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_THROW(root->Components(2), EListError);

    a->Free();
    ASSERT_EQ(root->ComponentCount(), 1);
    EXPECT_EQ(root->Components(0), b);
    EXPECT_EQ(root->FindComponent(QStringLiteral("a")), nullptr);

    auto* other = New<TComponent>(nullptr);
    other->InsertComponent(b);  // moving takes it out of the old owner's list
    EXPECT_EQ(root->ComponentCount(), 0);
    EXPECT_EQ(b->Owner(), other);
    root->Free();
    other->Free();
}

TEST(Ownership, EveryoneAskingHearsBeforeTheComponentGoes)
{
    auto* root = New<TComponent>(nullptr);
    auto* watcher = New<TWatcher>(nullptr);
    auto* target = New<TTestControl>(root);
    target->SetName(QStringLiteral("Target"));
    auto* holder = New<TTestControl>(nullptr);
    holder->SetBuddy(target);
    target->FreeNotification(watcher);

    root->Free();  // frees the target with it
    EXPECT_EQ(holder->Buddy(), nullptr) << "a reference is cleared when its target dies";
    EXPECT_EQ(watcher->Heard, std::vector<QString>{QStringLiteral("Target")});

    // a watcher that goes first is forgotten, so the target never calls a dead object
    auto* t2 = New<TComponent>(nullptr);
    auto* w2 = New<TWatcher>(nullptr);
    t2->FreeNotification(w2);
    w2->Free();
    t2->Free();
    holder->Free();
    watcher->Free();
}

TEST(Ownership, PublishedFieldIsClearedWhenItsComponentGoes)
{
    auto* form = New<TTestForm>(nullptr);
    auto* panel = New<TTestControl>(form);
    form->Panel1 = panel;
    panel->Free();
    EXPECT_EQ(form->Panel1, nullptr);
    form->Free();
}

TEST(Ownership, ComponentThatGoesIsToldToItsOwnerAndToThoseWhoAskedOnly)
{
    // a sibling that never asked does not hear: told to every sibling, each
    // removal would make freeing a form cost the square of its components
    auto* root = New<TWatcher>(nullptr);
    std::vector<TWatcher*> goers, stayers;
    for (int i = 0; i < 40; ++i) {
        goers.push_back(New<TWatcher>(root));
        goers.back()->SetName(QStringLiteral("G%1").arg(i));
    }
    for (int i = 0; i < 3; ++i) {
        stayers.push_back(New<TWatcher>(root));
        stayers.back()->SetName(QStringLiteral("S%1").arg(i));
    }
    goers[5]->FreeNotification(stayers[0]);
    for (auto it = goers.rbegin(); it != goers.rend(); ++it)
        (*it)->Free();
    EXPECT_EQ(root->Heard.size(), goers.size()) << "the owner hears of each";
    EXPECT_EQ(stayers[0]->Heard, std::vector<QString>{QStringLiteral("G5")});
    EXPECT_TRUE(stayers[1]->Heard.empty());
    ASSERT_EQ(root->ComponentCount(), 3);

    // one that only changes owner lives on: every component of the old owner hears
    auto* other = New<TComponent>(nullptr);
    other->InsertComponent(stayers[2]);
    EXPECT_EQ(stayers[1]->Heard, std::vector<QString>{QStringLiteral("S2")});
    EXPECT_EQ(stayers[0]->Heard.back(), QStringLiteral("S2"));

    other->Free();
    root->Free();
}

TEST(Names, LookUpFollowsRenamesMovesAndFrees)
{
    auto* root = New<TComponent>(nullptr);
    auto* a = New<TComponent>(root);
    a->SetName(QStringLiteral("Label1"));
    EXPECT_EQ(root->FindComponent(QStringLiteral("LABEL1")), a);

    a->SetName(QStringLiteral("Title"));
    EXPECT_EQ(root->FindComponent(QStringLiteral("label1")), nullptr);
    EXPECT_EQ(root->FindComponent(QStringLiteral("tItLe")), a);
    auto* b = New<TComponent>(root);
    b->SetName(QStringLiteral("Label1"));  // free again once renamed
    auto* c = New<TComponent>(root);
    EXPECT_THROW(c->SetName(QStringLiteral("LABEL1")), EComponentError);

    a->SetName(QStringLiteral("TITLE"));  // only the case changes
    EXPECT_EQ(root->FindComponent(QStringLiteral("Title")), a);
    auto* other = New<TComponent>(nullptr);
    other->InsertComponent(a);
    EXPECT_EQ(root->FindComponent(QStringLiteral("Title")), nullptr);
    EXPECT_EQ(other->FindComponent(QStringLiteral("title")), a);
    c->SetName(QStringLiteral("Title"));

    b->Free();
    EXPECT_EQ(root->FindComponent(QStringLiteral("Label1")), nullptr);
    c->SetName(QStringLiteral("Label1"));
    EXPECT_EQ(root->FindComponent(QStringLiteral("label1")), c);
    auto* d = New<TComponent>(nullptr);
    d->SetName(QStringLiteral("LABEL1"));
    EXPECT_THROW(root->InsertComponent(d), EComponentError);
    d->Free();
    other->Free();
    root->Free();
}

TEST(Names, InvalidAndDuplicateNamesAreRefused)
{
    auto* root = New<TComponent>(nullptr);
    auto* a = New<TComponent>(root);
    auto* b = New<TComponent>(root);
    a->SetName(QStringLiteral("Table1"));
    for (const char* bad : {"1abc", "a b", "a-b", "ä"}) {
        try {
            b->SetName(QString::fromUtf8(bad));
            ADD_FAILURE() << bad;
        } catch (const EComponentError& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("Component name \"%1\" is not a valid identifier").arg(QString::fromUtf8(bad)));
        }
    }
    try {
        b->SetName(QStringLiteral("TABLE1"));  // names compare without case
        ADD_FAILURE();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("A component named TABLE1 already exists"));
    }
    EXPECT_TRUE(b->Name().isEmpty());
    b->SetName(QStringLiteral("_Table_2"));
    a->SetName(QString());  // empty names never clash
    b->SetName(QString());
    root->Free();
}
