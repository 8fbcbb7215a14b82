#pragma once
// Several test classes may live in one test folder (one executable): each file
// registers its class with CP_TEST and the shared main runs them in turn.

#include <QObject>

namespace TestRegistry {
using Factory = QObject *(*)();
int add(const char *name, Factory factory);
} // namespace TestRegistry

#define CP_TEST(Class)                                                                             \
    static const int cp_test_registered_##Class =                                                  \
        TestRegistry::add(#Class, []() -> QObject * { return new Class; });
