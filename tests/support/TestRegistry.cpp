#include "TestRegistry.h"

#include <QTest>

bool TestRegistry::add(const char* name, Factory factory)
{
    entries().push_back({name, std::move(factory)});
    return true;
}

std::vector<TestRegistry::Entry>& TestRegistry::entries()
{
    static std::vector<Entry> registered;
    return registered;
}

int TestRegistry::runAll(int argc, char* argv[])
{
    int failures = 0;
    for (const Entry& entry : entries()) {
        const std::unique_ptr<QObject> test = entry.factory();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures == 0 ? 0 : 1;
}
