#pragma once
// Readable failures: GoogleTest prints a QString as its text in quotes instead of
// its bytes. Found by argument-dependent lookup, so it lives beside QString.
#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
