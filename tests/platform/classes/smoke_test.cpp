#include <gtest/gtest.h>
#include "classes/Component.h"
TEST(Smoke, Builds) { auto* c = New<TComponent>(nullptr); c->Free(); }
