#pragma once

#include <ostream>

// Makes the rows of a table print as their name in test reports.
#define NAMED_CASE(Row)                                                                            \
    inline void PrintTo(const Row &row, std::ostream *os)                                          \
    {                                                                                              \
        *os << row.name;                                                                           \
    }
