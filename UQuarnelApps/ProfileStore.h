#pragma once

#include "ProfileFile.h"

#include <chrono>
#include <functional>
#include <string>

// How long UpdateProfile lets one other writer of the same settings file hold the lock. Writers
// hold it only for one read-modify-write of a small file, so a lock that outlives this wait was
// left behind by a process that died while holding it. Waiting behind writers that take their
// turns one after another does not count against it.
inline constexpr std::chrono::milliseconds ProfileLockWait{6000};

// The settings file as it is on disk now; a missing or unreadable file is an empty profile.
TProfileFile ReadProfile(const std::string& path);

// Applies edit to the current contents of the file at path and saves the result atomically,
// under a lock file (path + ".lock") shared by every application that uses the file. On any
// failure the file is left exactly as it was and EQuarnelError("Unable to write to " + path)
// is thrown; errors thrown by edit itself pass through unchanged, except a value the profile
// refuses to store, which is a refused write like any other. An edit that changes nothing does
// not touch the file.
void UpdateProfile(const std::string& path, const std::function<void(TProfileFile&)>& edit,
                   std::chrono::milliseconds lockWait = ProfileLockWait);
