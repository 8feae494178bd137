#pragma once
// How much of the rule files is read: room for any schedule a person keeps, and a bound on what a
// file edited by hand or by another program can make the window lay out and the tick walk through
// every second. What lies beyond a bound stays in its file and is told of once at start.
#include <cstddef>
#include <cstdint>

namespace tallowby::store {

// A day holds at most this many sessions of five minutes that do not overlap.
inline constexpr int kMaxSessions = 288;
// One a minute, all day long.
inline constexpr int kMaxReminders = 1440;
// The entries of one program or website list.
inline constexpr std::size_t kMaxListEntries = 500;
// A reminder's subject, in bytes: a pop-up of a few lines, not a document.
inline constexpr std::size_t kMaxSubjectBytes = 1000;

// A name and the ".rem" after it must fit in one file name of 255 bytes.
inline constexpr std::size_t kLongestProfileName = 255 - 4;

// A rule file's size (config.db, profiles.db, sound.db and a profile's three files): room for the
// bounds above many times over, read whole in a few milliseconds.
inline constexpr std::size_t kMaxRuleFileBytes = 4 * 1024 * 1024;
// An alert sound file: over five minutes of CD-quality WAV. A larger one is not played; the default
// sound is.
inline constexpr std::uintmax_t kMaxSoundFileBytes = 32 * 1024 * 1024;

} // namespace tallowby::store
