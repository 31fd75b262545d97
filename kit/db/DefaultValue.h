#pragma once

#include "Types.h"

#include <QDateTime>
#include <QVariant>
#include <optional>

namespace db {

// The value a default expression gives a new row of a field of `type` (see
// Field::defaultExpression): nullopt when the expression means nothing the engine can
// evaluate for that type. `now` is the moment the row starts.
std::optional<QVariant> evaluateDefault(const QString& expression, FieldType type,
                                        const QDateTime& now = QDateTime::currentDateTime());

} // namespace db
