#pragma once
// The one place that includes the Firebird OO API; its header is noisy under -Wextra.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wunused-parameter"
#pragma GCC diagnostic ignored "-Wshadow"
#pragma GCC diagnostic ignored "-Wdeprecated-copy"
#include <firebird/Interface.h>
#pragma GCC diagnostic pop
