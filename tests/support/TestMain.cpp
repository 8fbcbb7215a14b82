#include "TestMain.h"

#include "app/Application.h"

#include <QApplication>
#include <QtTest>

#include <memory>
#include <vector>

namespace TestRegistry {
namespace {
std::vector<std::pair<const char *, Factory>> &classes()
{
    static std::vector<std::pair<const char *, Factory>> c;
    return c;
}
} // namespace

int add(const char *name, Factory factory)
{
    classes().emplace_back(name, factory);
    return int(classes().size());
}
} // namespace TestRegistry

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    Application::setUp();
    int failures = 0;
    for (const auto &[name, factory] : TestRegistry::classes()) {
        std::unique_ptr<QObject> test(factory());
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
