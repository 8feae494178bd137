#pragma once
// What the main window does for the tick: the header and session-panel steps happen here; the
// enforcement steps are the enforcement layer's and plug in at the marked methods.
#include "engine/tick.h"

namespace tallowby::ui {

class Tfrmmain;

class MainTickActions : public engine::TickActions {
  public:
    explicit MainTickActions(Tfrmmain& window) : window_(window) {}

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

  private:
    Tfrmmain& window_;
};

} // namespace tallowby::ui
