#pragma once

namespace korvanth {

// Makes menu resource 101 available to LoadMenuA. On Windows the resource is compiled
// into the program and this does nothing; elsewhere it registers the same menu.
void InstallMenuResource();

}  // namespace korvanth
