// Databases and a started application object for the shell tests.
#pragma once

#include "core/Settings.h"
#include "shell/Application.h"
#include "tests/support/Databases.h"
#include "tests/support/Fixture.h"

#include <QString>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace zor::test {

inline PlatformInfo PlatformFor(const std::string& dir) {
    PlatformInfo p;
    p.executableDirectory = "/nonexistent-exe-dir/";
    p.commandLine = "DIR=" + dir;
    p.arialWithCharset = [](int) { return true; };
    return p;
}

// The shared three-set database with a temporary indicator in slot 5 ("Ratio of men") and the
// years 1999-2001.
inline Fixture ThreeSets(const std::string& dir) {
    TempIndicatorDef t;
    t.code = 10005;
    t.name = "Ratio of men";
    t.operation = 1;
    t.operandA = 1;
    t.operandB = 0;
    Fixture f = ThreeSetCatalogue(dir);
    f.Periods({1999, 2000, 2001}).Temp(t);
    return f;
}

// One region set only.
inline Fixture OneSet(const std::string& dir) {
    Fixture f(dir);
    f.Set(10000, "Country", {"East", "West", "Total"})
        .Group(0, "Population")
        .Indicator(0, "Inhabitants")
        .Periods({2000});
    return f;
}

// A group of 35 indicators and 40 years, for the limits.
inline Fixture Many(const std::string& dir) {
    Fixture f(dir);
    f.Set(10000, "Country", {"A", "Total"}).Group(1, "Economy");
    for (int i = 0; i < 35; ++i) f.Indicator(1000 + 10 * i, "Indicator " + std::to_string(i));
    std::vector<int> years;
    for (int y = 1960; y < 2000; ++y) years.push_back(y);
    f.Periods(years);
    return f;
}

// A started application on a written fixture; messages are recorded instead of shown.
struct StartedApp {
    TempDir dir;
    std::unique_ptr<Application> app;
    std::vector<QString> messages;

    template <class Make> explicit StartedApp(Make make) {
        make(dir.path()).Write();
        Start();
    }
    void Start() {
        app = std::make_unique<Application>();
        EXPECT_TRUE(app->StartUp(PlatformFor(dir.path()))) << app->Store().StartupError();
        app->SetMessageHandler(
            [this](QWidget*, MessageKind, const QString& text) { messages.push_back(text); });
    }
};

} // namespace zor::test
