#include "OverlayFeed.h"

namespace {

OverlayFeed* installedFeed = nullptr;

// Where no overlay is installed, what the pages push goes nowhere.
class UnseenOverlay : public OverlayFeed
{
public:
    void setScenarios(const QString&, const QList<OverlayScenarioEntry>&) override {}
    void setActiveScenario(const QString&) override {}
    void setDisableHotkey(const QString&) override {}
    void setAutoclickerState(const QString&, bool) override {}
    void setAutoclickerHotkeys(const QString&, const QString&) override {}
};

} // namespace

OverlayFeed& OverlayFeed::current()
{
    static UnseenOverlay unseen;
    return installedFeed ? *installedFeed : unseen;
}

void OverlayFeed::setCurrent(OverlayFeed* feed)
{
    installedFeed = feed;
}
