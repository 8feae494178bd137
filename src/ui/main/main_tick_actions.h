#pragma once
// What the main window does for one tick: the header and session-panel steps, and the enforcement
// steps through the window's Enforcement.
#include <QString>
#include <optional>

#include "engine/tick.h"
#include "platform/window_sweep.h"

namespace tallowby::ui {

class Tfrmmain;

class MainTickActions : public engine::TickActions {
  public:
    // One per tick: it remembers how often the rules had been stopped when its tick began.
    explicit MainTickActions(Tfrmmain& window);
    ~MainTickActions() override;
    MainTickActions(const MainTickActions&) = delete;
    MainTickActions& operator=(const MainTickActions&) = delete;

    void showHeader(const engine::HeaderTexts& texts) override;
    void showCurrentSession(const std::string& text) override;
    bool sessionListHasSelection() override;
    void clearSessionPanel() override;

    void killTaskManager() override;
    void showReminder(const std::string& caption, const std::string& subject) override;
    void showShutdownWarning(const std::string& caption) override;
    void startShutdown() override;
    void sweepWindows(const engine::SweepRule& rule) override;
    void showNotice(const std::string& text) override;
    bool writeHosts(const std::vector<std::string>& sites) override;
    bool hostsHold(const std::vector<std::string>& sites) override;

  private:
    // A tick waits inside its own notices; when the user stops the rules (or pauses, or exits)
    // meanwhile, the rest of that tick must not block sites or close windows again.
    bool rulesStoppedSinceTickBegan() const;
    void showHeldTexts();
    // A pop-up shows the labels as they stand and may keep the tick waiting.
    void beforePopUp();

    Tfrmmain& window_;
    int stopCountAtStart_;
    platform::TickSweeps sweeps_;
    std::optional<QString> currentSession_;
};

} // namespace tallowby::ui
