// Damaged files: every cut and many flipped bytes of a valid layout must end
// in the library's exception, never in a crash (run this under the sanitizers).
#include <gtest/gtest.h>

#include "TestComponents.h"
#include "classes/Streaming.h"

namespace {

QByteArray ValidResource()
{
    RegisterTestClasses();
    auto* form = New<TTestForm>(nullptr);
    form->SetName(QStringLiteral("Form1"));
    form->Ratio = -1.25;
    auto* panel = New<TTestControl>(form);
    panel->SetName(QStringLiteral("Panel1"));
    panel->SetParent(form);
    panel->Big = qint64(1) << 35;
    panel->Lines()->SetStrings({QStringLiteral("a"), QStringLiteral("é")});
    panel->Picture()->Data = QByteArray(40, '\x11');
    static_cast<TTestItem*>(panel->Columns()->Add())->Caption = QStringLiteral("c");
    panel->Font()->Style = {tsItalic};
    auto* table = New<TTestTable>(form);
    table->SetName(QStringLiteral("Table1"));
    panel->SetBuddy(table);
    const QByteArray res = WriteComponentRes(form);
    form->Free();
    return res;
}

// Reads into a fresh form; true when it read, false on the library's error.
bool ReadsIntoForm(const QByteArray& data)
{
    auto* form = New<TTestForm>(nullptr);
    bool ok = true;
    try {
        ReadComponentRes(data, form);
    } catch (const Exception&) {
        ok = false;
    }
    form->Free();
    return ok;
}

}  // namespace

TEST(Corruption, EveryCutIsAnError)
{
    const QByteArray res = ValidResource();
    const QByteArray stream = UnwrapResource(res);
    ASSERT_TRUE(ReadsIntoForm(res));
    for (qsizetype n = 0; n < res.size(); ++n)
        EXPECT_FALSE(ReadsIntoForm(res.left(n))) << "resource cut at " << n;
    for (qsizetype n = 0; n < stream.size(); ++n)
        EXPECT_FALSE(ReadsIntoForm(stream.left(n))) << "stream cut at " << n;

    const QString text = ObjectResourceToText(res);
    const qsizetype lastEnd = text.lastIndexOf(QStringLiteral("end"));
    for (qsizetype n = 0; n < lastEnd + 3; ++n)
        EXPECT_THROW(ReadObjectText(text.left(n)), EReadError) << "text cut at " << n;
}

TEST(Corruption, FlippedBytesNeverCrash)
{
    const QByteArray res = ValidResource();
    int refused = 0;
    for (qsizetype i = 0; i < res.size(); ++i) {
        for (char mask : {'\xFF', '\x01', '\x80', '\x20'}) {
            QByteArray bad = res;
            bad[i] = static_cast<char>(bad[i] ^ mask);
            refused += !ReadsIntoForm(bad);
        }
    }
    EXPECT_GT(refused, res.size()) << "most damage is noticed";
}
