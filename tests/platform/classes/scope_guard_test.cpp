// The owning pointer and the scope guard that hand-written cleanup blocks use.
#include <gtest/gtest.h>

#include "classes/Owned.h"
#include "rtl/Exceptions.h"
#include "rtl/ScopeExit.h"

#include <stdexcept>

namespace {

// Counts the instances that are alive.
class TCounted : public TObject {
public:
    TCounted() { ++Alive; }
    ~TCounted() override { --Alive; }
    static inline int Alive = 0;
};

}  // namespace

TEST(ScopeGuard, OwnedObjectIsFreedUnlessHandedOn)
{
    try {
        TOwned<TCounted> held(new TCounted);
        EXPECT_EQ(TCounted::Alive, 1);
        throw EConvertError(QStringLiteral("fails half-way"));
    } catch (const EConvertError&) {
    }
    EXPECT_EQ(TCounted::Alive, 0);

    TOwned<TCounted> held(new TCounted);
    TCounted* kept = held.release();
    held.reset();
    EXPECT_EQ(TCounted::Alive, 1);
    kept->Free();
    EXPECT_EQ(TCounted::Alive, 0);
}

TEST(ScopeGuard, RunsOnEveryExitUntilDismissed)
{
    bool flag = true;
    {
        TScopeExit reset([&] { flag = false; });
    }
    EXPECT_FALSE(flag);

    flag = true;
    EXPECT_THROW(
        {
            TScopeExit reset([&] { flag = false; });
            throw EConvertError(QStringLiteral("x"));
        },
        EConvertError);
    EXPECT_FALSE(flag);

    flag = true;
    {
        TScopeExit undo([&] { flag = false; });
        undo.Dismiss();
    }
    EXPECT_TRUE(flag);
}

TEST(ScopeGuard, TheFirstErrorReachesTheCaller)
{
    // the cleanup's own failure is dropped while another error is on its way
    try {
        TScopeExit cleanup([] { throw std::runtime_error("cleanup"); });
        throw EConvertError(QStringLiteral("first"));
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), QStringLiteral("first"));
    }
    // and reaches the caller when it is the only one
    EXPECT_THROW({ TScopeExit cleanup([] { throw std::runtime_error("cleanup"); }); }, std::runtime_error);
}
