#pragma once

#include <QString>

namespace dbtool {

// The schema script data/schema.sql, built into the program so that it needs no file at run
// time.
QString schemaScript();

} // namespace dbtool
