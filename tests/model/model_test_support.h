// Printers shared by the model tests. Every test file includes this header, so
// the whole program prints dates and cells the same way (colours print as
// their three bytes, r g b, in hex).
#pragma once

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "gregorian.h"
#include "model/geometry.h"

namespace qov {
inline void PrintTo(const SolarDate& d, std::ostream* o)
{
    *o << d.year << '-' << d.month << '-' << d.day;
}
inline void PrintTo(const GridCell& c, std::ostream* o)
{
    *o << "cell(" << c.row << ',' << c.column << ')';
}
namespace {
// Table rows (each file's own, in this unnamed namespace) print as their names.
template <typename Row>
    requires requires(const Row& r) { r.name; }
void PrintTo(const Row& row, std::ostream* o)
{
    *o << row.name;
}
}  // namespace
}  // namespace qov

// Runs a TEST_P suite over a row table; the tests are named by the rows.
#define QOV_ROWS(Suite, rows)                                                                      \
    INSTANTIATE_TEST_SUITE_P(Model, Suite, ::testing::ValuesIn(rows),                              \
                             [](const auto& p) { return std::string(p.param.name); })
