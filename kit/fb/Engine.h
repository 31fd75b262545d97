#pragma once

#include <QString>

namespace fb {

// Prepares how this process reaches the Firebird engine, once, before the client library
// is first used: every Velmar process opens database files through the same private engine
// configuration (Classic server mode, so that several processes can share one file while
// they share the system lock folder). Attachment calls it; tools may call it earlier.
class Engine
{
public:
    // Idempotent and thread-safe. Throws fb::Error when the private root can't be made.
    static void prepare();
    // The private engine root that FIREBIRD points to, after prepare().
    static QString rootDirectory();
};

} // namespace fb
