#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

// Collects the test classes of one test executable; the shared main runs them all.
class TestRegistry
{
public:
    using Factory = std::function<std::unique_ptr<QObject>()>;

    static bool add(const char* name, Factory factory);
    static int runAll(int argc, char* argv[]);

private:
    struct Entry
    {
        const char* name;
        Factory factory;
    };
    static std::vector<Entry>& entries();
};

// Registers a QObject test class with the executable's test run.
#define CLAVITOR_TEST(Class)                                                                       \
    static const bool Class##Registered =                                                          \
        TestRegistry::add(#Class, [] { return std::unique_ptr<QObject>(new Class); })
