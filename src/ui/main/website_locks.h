#pragma once
// Website blocks that stay until their session ends: what the window asks the hosts file to lock,
// and how it tells the user what stays.
#include <QString>
#include <string>
#include <vector>

#include "engine/clock.h"
#include "engine/tick.h"
#include "platform/hosts/site_locks.h"
#include "store/rule_lists.h"

namespace tallowby::ui {

// The request that blocks these sites: with their locks when the options keep website blocks until
// their session ends, else none.
platform::BlockRequest hostsRequest(const std::vector<std::string>& sites, const store::RuleLists& lists,
                                    const engine::WholeDayPanel& wholeDay, int currentSessionIndex,
                                    const engine::LocalDateTime& now);

// The question put after Stop, a pause or Exit while locked sites stay: each site with the time of
// day it stays until.
QString locksStayingQuestion(const std::vector<platform::BlockLine>& staying);

} // namespace tallowby::ui
