#include "main_tick_actions.h"

#include <QGroupBox>
#include <QLabel>

#include "local_text.h"
#include "untmain.h"

namespace tallowby::ui {

void MainTickActions::showHeader(const engine::HeaderTexts& texts) {
    window_.lb_clock->setText(fromBytes(texts.clock));
    window_.lb_profile->setText(fromBytes(texts.profile));
    window_.gb_today->setTitle(fromBytes(texts.todayCaption));
    window_.lb_today->setText(fromBytes(texts.today));
}

void MainTickActions::showCurrentSession(const std::string& text) {
    window_.lb_current->setText(fromBytes(text));
}

bool MainTickActions::sessionListHasSelection() {
    return window_.selectedSessionIndex() >= 0;
}

void MainTickActions::clearSessionPanel() {
    window_.Nosession();
}

void MainTickActions::killTaskManager() {
    // carried out by the enforcement layer
}

void MainTickActions::showReminder(const std::string&, const std::string&) {
    // carried out by the enforcement layer
}

void MainTickActions::showShutdownWarning(const std::string&) {
    // carried out by the enforcement layer
}

void MainTickActions::startShutdown() {
    // carried out by the enforcement layer
}

void MainTickActions::sweepWindows(const engine::SweepRule&) {
    // carried out by the enforcement layer
}

void MainTickActions::showNotice(const std::string&) {
    // carried out by the enforcement layer
}

bool MainTickActions::writeHosts(const std::vector<std::string>&) {
    // carried out by the enforcement layer; nothing is written yet, so nothing has failed
    return true;
}

} // namespace tallowby::ui
