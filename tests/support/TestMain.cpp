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
    // "tst_x ClassName [qtest options]" runs that class alone.
    QByteArray only;
    if (argc > 1) {
        for (const auto &entry : TestRegistry::classes())
            if (qstrcmp(argv[1], entry.first) == 0)
                only = argv[1];
        if (!only.isEmpty()) {
            for (int i = 1; i + 1 < argc; ++i)
                argv[i] = argv[i + 1];
            --argc;
        }
    }
    int failures = 0;
    for (const auto &[name, factory] : TestRegistry::classes()) {
        if (!only.isEmpty() && only != name)
            continue;
        std::unique_ptr<QObject> test(factory());
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
