#pragma once
// What a killed installation leaves in the course folder: its working
// folders (".~install-" + six characters) and its temporary download
// ("~" + digits + ".tmp"). A later start removes those older than itself;
// anything newer may belong to an installation running right now in
// another player.

#include <ctime>
#include <string>

namespace vork {

// The time the running process started (from the kernel's process table),
// or now when that cannot be read.
std::time_t ProcessStartTime();

// Removes the leftovers directly in folder last changed before not_after;
// returns how many it removed. Links are never followed.
int RemoveInstallLeftovers(const std::string& folder, std::time_t not_after);

}  // namespace vork
