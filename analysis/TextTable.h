#pragma once

#include <cstdint>
#include <string>

namespace zlm {

/**
 * A table of texts read row by row, row 0 the header: what the summary writer
 * writes. The results grid is one; the results of a run, formatted for display,
 * are another, so a headless run needs no grid.
 */
class TextTable {
public:
    virtual ~TextTable() = default;
    virtual std::int32_t Rows() const = 0;
    virtual std::int32_t Cols() const = 0;
    /** The text of a cell; empty outside the table. */
    virtual std::string Cell(std::int32_t row, std::int32_t col) const = 0;
    /** Whether Cell may be called from two threads at once (it reads nothing that changes). */
    virtual bool CellsReadConcurrently() const { return false; }
};

} // namespace zlm
