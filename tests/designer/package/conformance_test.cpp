// Every class a program of the designer can stream (the class library's
// controls, forms and dialogs, the data layer's, the engine's and the
// layout classes) keeps the promises of its type information.
#include "platform/classes/ConformanceCheck.h"

#include <gtest/gtest.h>

TEST(ConformanceTest, EveryRegisteredClassConforms)
{
    const QStringList failures = CheckRegisteredClasses();
    EXPECT_TRUE(failures.isEmpty()) << failures.join(QLatin1Char('\n')).toStdString();
}
