#pragma once

#include <QObject>
#include <QSignalBlocker>

#include <initializer_list>
#include <vector>

// Blocks the signals of several objects for as long as it lives.
class SignalsBlocked
{
public:
    explicit SignalsBlocked(std::initializer_list<QObject*> objects)
    {
        m_blockers.reserve(objects.size());
        for (QObject* object : objects)
            m_blockers.emplace_back(object);
    }

private:
    std::vector<QSignalBlocker> m_blockers;
};
