#include "app/Shell.h"

namespace katalog {

namespace {
Shell instance;
}

Shell& shell() { return instance; }
void resetShell() { instance = Shell(); }

}  // namespace katalog
