#pragma once

#include <QFont>
#include <QString>
#include <vector>

#include "document/print_layout.h"

class QPagedPaintDevice;
class QPainter;

namespace vellmora {

class CExStringList;

/// Prints a list of result lines on a printer or PDF writer: the pages of PrintLayout, the
/// lines wrapped at word boundaries to the block's width with tabs expanded, drawn in the
/// view's font, and the "Page : %d" header when "Output page number" is on.
class ResultPrinter {
public:
    ResultPrinter(const CExStringList& lines, const QFont& viewFont, const PrintSettings& settings);

    /// Paints every page on device; false when the job could not start (nothing drawn).
    bool print(QPagedPaintDevice& device) const;
    /// The pages the list needs on device, as print() would lay them out.
    int pageCount(QPagedPaintDevice& device) const;

private:
    /// The painter in units of a hundredth of an inch, with the print font.
    void prepare(QPainter& painter, QPagedPaintDevice& device) const;
    PrintLayout layout(QPainter& painter, const std::vector<QString>& shown) const;

    const CExStringList& m_lines;
    QFont m_font;
    PrintSettings m_settings;
};

}  // namespace vellmora
