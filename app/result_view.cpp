#include "app/result_view.h"

#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QToolTip>
#include <QUrl>
#include <algorithm>
#include <cstdlib>

#include "app/display_options_dialog.h"
#include "app/qt_user_interface.h"
#include "document/clipboard_copy.h"
#include "document/result_document.h"
#include "platform/recording_user_interface.h"
#include "platform/text_encoding.h"
#include "settings/display_options_model.h"
#include "settings/profile.h"
#include "settings/view_colours.h"
#include "settings/word_groups.h"
#include "textlib/sjis.h"

namespace vellmora {
namespace {

// The fallback face: fixed pitch, and its full-width glyphs are exactly twice its half-width
// ones at even pixel sizes, which is what the byte-counted KWIC columns need.
const QString kFallbackFace = QStringLiteral("IPAGothic");
// Faces that draw U+005C as a backslash, for fonts that draw it as a yen sign.
const QStringList kBackslashFaces = {QStringLiteral("DejaVu Sans Mono"),
                                     QStringLiteral("Liberation Mono"),
                                     QStringLiteral("monospace")};
constexpr int kDefaultPixelSize = 13;
constexpr int kVerticalLineStep = 3;    // lines per arrow click
constexpr int kHorizontalLineStep = 5;  // characters per arrow click
constexpr int kSpreadsheetTabUnits = 15;

// 0 until the first view is made; from then on the unit in effect for every view.
int g_tabUnit = 0;

QColor toQColor(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

Rgb toRgb(const QColor& colour) {
    return Rgb{static_cast<std::uint8_t>(colour.red()), static_cast<std::uint8_t>(colour.green()),
               static_cast<std::uint8_t>(colour.blue())};
}

QString decodePiece(std::string_view bytes, bool utf8) {
    if (utf8) return QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    const std::string converted = sjisToUtf8(bytes);
    return QString::fromUtf8(converted.data(), qsizetype(converted.size()));
}

/// How font draws one character, in black on white.
QImage glyphImage(const QFont& font, QChar character) {
    const QFontMetrics metrics(font);
    QImage image(2 * metrics.height(), metrics.height(), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setFont(font);
    painter.setPen(Qt::black);
    painter.drawText(0, metrics.ascent(), QString(character));
    return image;
}

/// Japanese faces draw U+005C as a yen sign, where the lines mean a backslash. A backslash
/// runs from the top left of its ink to the bottom right; a yen sign has ink in both top
/// corners. (Their images cannot just be compared: such a face draws U+00A5 full-width.)
bool drawsBackslash(const QFont& font) {
    const QImage image = glyphImage(font, QLatin1Char('\\'));
    auto inkAt = [&image](int x, int y) { return qGray(image.pixel(x, y)) < 128; };
    int top = -1, bottom = -1, left = image.width(), right = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (!inkAt(x, y)) continue;
            if (top < 0) top = y;
            bottom = y;
            left = std::min(left, x);
            right = std::max(right, x);
        }
    }
    if (top < 0) return false;
    const int middle = (left + right) / 2;
    for (int x = left; x <= right; ++x) {
        if ((x > middle && inkAt(x, top)) || (x < middle && inkAt(x, bottom))) return false;
    }
    return true;
}

/// The whole text of a copy, lines joined with the line end of this system.
QString clipboardString(std::string_view text) {
    QString shown;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) line.remove_suffix(1);
        shown += decodePiece(line, isUtf8BeyondAscii(line));
        if (end == std::string_view::npos) break;
        shown += QLatin1Char('\n');
        text.remove_prefix(end + 1);
    }
    return shown;
}

class QtClipboardTarget : public ClipboardTarget {
public:
    bool open() override { return QGuiApplication::clipboard() != nullptr; }
    void setText(std::string_view text) override {
        QGuiApplication::clipboard()->setText(clipboardString(text));
    }
};

}  // namespace

ResultView::ResultView(CPyxoDoc& document, Profile& profile, UserInterface& ui, QWidget* parent)
    : QAbstractScrollArea(parent), m_document(document), m_profile(profile), m_ui(ui) {
    if (g_tabUnit == 0) g_tabUnit = storedTabUnit(profile);
    const FontSetting setting = readFontSetting(profile);
    setViewFont(fontFromRecord(setting.record, setting.face));
    setAcceptDrops(true);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    updateFromDocument();
}

void ResultView::updateFromDocument() {
    // The list may have been emptied and refilled in place: its kept node may be gone.
    m_cursor.reset();
    readKeywordMarks();
    updateScrollBars();
    viewport()->update();
}

void ResultView::setTsvColumnWidths(std::vector<int> widths) {
    m_tsvWidths = std::move(widths);
    updateScrollBars();
    viewport()->update();
}

void ResultView::setCollocationColumnWidths(std::vector<int> widths) {
    m_collocationWidths = std::move(widths);
    updateScrollBars();
    viewport()->update();
}

TableMode ResultView::tableMode() const {
    return tableModeFor(m_document.displayedKind(), m_document.collocationValue2);
}

int ResultView::firstVisibleLine() const { return verticalScrollBar()->value(); }

void ResultView::scrollToLine(int index) { verticalScrollBar()->setValue(index); }

void ResultView::showCurrentLine(long index) {
    const CExStringList& list = m_document.list(m_document.displayedKind());
    if (index < 0 || index >= list.count()) return;
    m_current = CurrentLine{m_document.displayedKind(), list.generation(), index};
    const int rows = std::max(1, wholeLinesIn(viewport()->height(), m_metrics.lineHeight));
    const long first = firstVisibleLine();
    // A line brought from elsewhere stands a third down, with some of what led to it above.
    if (index < first || index >= first + rows) scrollToLine(static_cast<int>(index) - rows / 3);
    viewport()->update();
}

long ResultView::currentLine() const {
    const CExStringList& list = m_document.list(m_document.displayedKind());
    const bool same = m_current.kind == m_document.displayedKind() &&
                      m_current.generation == list.generation();
    return same ? m_current.index : -1;
}

long ResultView::lineAt(int viewportY) const {
    if (viewportY < 0) return -1;
    const long index = static_cast<long>(firstVisibleLine()) + viewportY / m_metrics.lineHeight;
    return index < m_document.list(m_document.displayedKind()).count() ? index : -1;
}

std::vector<std::int64_t> ResultView::cellPositions(std::string_view line) const {
    const std::int64_t scrollX = horizontalScrollBar()->value();
    const TableMode mode = tableMode();
    if (mode == TableMode::None) return {-scrollX};
    std::vector<std::int64_t> starts = cellStarts(tableCells(withoutLineEnd(line)),
                                                  columnWidths(mode), m_metrics.averageCharWidth);
    for (std::int64_t& start : starts) start -= scrollX;
    return starts;
}

int ResultView::tabUnit() { return g_tabUnit; }

void ResultView::setTabUnit(int unit) { g_tabUnit = unit; }

QFont ResultView::fontFromRecord(const FontRecord& record, std::string_view face) {
    QString family = displayText(face);
    const bool substitute = family.compare(QLatin1String("FixedSys"), Qt::CaseInsensitive) == 0 ||
                            family.isEmpty() || !QFontDatabase::hasFamily(family);
    if (substitute) family = kFallbackFace;
    QFont font(family);
    int pixels = record.height == 0 ? kDefaultPixelSize : std::abs(record.height);
    if (family.compare(kFallbackFace, Qt::CaseInsensitive) == 0) pixels += pixels % 2;
    font.setPixelSize(pixels);
    const int weight = record.weight == 0 ? 400 : record.weight;
    font.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 1, 1000)));
    font.setItalic(record.italic != 0);
    font.setUnderline(record.underline != 0);
    font.setStrikeOut(record.strikeOut != 0);
    // A style hint lets font matching draw characters of a face it has from another family;
    // it is asked for only when the face is missing, so that something fixed-pitch stands in.
    if (!QFontDatabase::hasFamily(family)) {
        font.setStyleHint(QFont::Monospace);
        font.setFixedPitch(true);
    }
    font.setKerning(false);
    return font;
}

FontRecord ResultView::recordFromFont(const QFont& font, const FontRecord& base) {
    const QFontInfo info(font);
    FontRecord record = base;
    record.height = -std::clamp(info.pixelSize(), 1, kMaxFontHeight);
    record.width = 0;
    record.escapement = 0;
    record.orientation = 0;
    record.weight = std::clamp(static_cast<int>(font.weight()), 0, 1000);
    record.italic = font.italic() ? 1 : 0;
    record.underline = font.underline() ? 1 : 0;
    record.strikeOut = font.strikeOut() ? 1 : 0;
    // The fallback face counts as fixed pitch: its characters are one or two cells wide.
    const bool fixed =
        info.fixedPitch() || font.family().compare(kFallbackFace, Qt::CaseInsensitive) == 0;
    record.pitchAndFamily =
        static_cast<std::uint8_t>((base.pitchAndFamily & ~0x03) | (fixed ? 1 : 2));
    return record;
}

void ResultView::chooseFont() {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, m_font, this);
    if (ok) applyChosenFont(chosen);
}

void ResultView::applyChosenFont(const QFont& font) {
    FontSetting setting = readFontSetting(m_profile);
    setting.record = recordFromFont(font, setting.record);
    // The font dialog of this system offers no colour: the text colour stays as it is.
    setting.record.textColour = readViewColours(m_profile).text.value();
    const QByteArray family = font.family().toUtf8();
    const std::string_view utf8(family.constData(), std::size_t(family.size()));
    setting.face = utf8ToSjisText(utf8).value_or(std::string(utf8));
    writeFontSetting(m_profile, setting);
    setViewFont(fontFromRecord(setting.record, setting.face));
    updateFromDocument();
}

void ResultView::chooseTextColor() {
    const QColor colour = QColorDialog::getColor(toQColor(readViewColours(m_profile).text), this);
    if (colour.isValid()) applyTextColor(colour);
}

void ResultView::chooseBackgroundColor() {
    const QColor colour =
        QColorDialog::getColor(toQColor(readViewColours(m_profile).background), this);
    if (colour.isValid()) applyBackgroundColor(colour);
}

void ResultView::applyTextColor(const QColor& colour) {
    writeTextColour(m_profile, toRgb(colour));
    refreshDocumentViews();
}

void ResultView::applyBackgroundColor(const QColor& colour) {
    writeBackgroundColour(m_profile, toRgb(colour));
    refreshDocumentViews();
}

void ResultView::displayOptions() {
    CDispOptionDialog dialog(m_profile, m_ui, this);
    if (dialog.exec() != QDialog::Accepted) return;
    setTabUnit(dialog.tabUnit());
    updateScrollBars();
    viewport()->update();
}

void ResultView::copyToClipboard() {
    QtClipboardTarget clipboard;
    const CExStringList& shown = m_document.list(m_document.displayedKind());
    long lines = 0;
    const CopyOutcome outcome = copyListToClipboard(shown, m_profile, m_ui, clipboard, &lines);
    if (outcome != CopyOutcome::NotOpened && outcome != CopyOutcome::NoMemory)
        emit copied(lines, shown.count());
    if (outcome == CopyOutcome::StartEditor) emit clipboardEditorRequested();
}

void ResultView::paintEvent(QPaintEvent*) {
    QPainter painter(viewport());
    const ViewColours colours = readViewColours(m_profile);
    const int width = viewport()->width();
    painter.fillRect(viewport()->rect(), toQColor(colours.background));
    painter.setFont(m_font);
    const QFontMetrics metrics(m_font);
    const int lineHeight = m_metrics.lineHeight;
    const int scrollX = horizontalScrollBar()->value();
    const TableMode mode = tableMode();
    const std::vector<int>& widths = columnWidths(mode);
    const std::int64_t cell = m_metrics.averageCharWidth;
    // Only the search's own lines (also extracted or sorted) have the keyword at its place.
    static const KeywordMarks kNoMarks;
    const KeywordMarks& marks =
        m_document.displayedKind() <= ResultKind::Sorted ? keywordMarks() : kNoMarks;

    const CExStringList& list = m_document.list(m_document.displayedKind());
    const int rows = linesToDraw(viewport()->height(), lineHeight);
    const long current = currentLine();
    CExStringList::Position node = m_cursor.seek(list, firstVisibleLine());
    for (int row = 0; row < rows && node != nullptr; ++row, node = CExStringList::next(node)) {
        const int top = row * lineHeight;
        if (firstVisibleLine() + row == current) {
            // A frame, so that the user's colours and the keyword's highlight stay as they are.
            painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
            painter.drawRect(1, top + 1, width - 3, lineHeight - 2);
        }
        const int baseline = top + metrics.ascent();
        const std::string_view line = withoutLineEnd(CExStringList::at(node));
        const bool utf8 = isUtf8BeyondAscii(line);
        if (mode == TableMode::None) {
            std::int64_t x = -scrollX;
            const std::size_t shown = cutToPixels(line, std::int64_t(scrollX) + width).size();
            for (const HighlightPiece& piece : drawnPieces(line, shown, marks)) {
                const QString text = decodePiece(piece.text, utf8);
                const std::int64_t advance =
                    utf8 ? metrics.horizontalAdvance(text) : std::int64_t(piece.text.size()) * cell;
                if (piece.highlighted) {
                    const std::int64_t left = std::max<std::int64_t>(x, 0);
                    const std::int64_t right = std::min<std::int64_t>(x + advance, width);
                    painter.fillRect(int(left), top, int(std::max<std::int64_t>(right - left, 0)),
                                     lineHeight, toQColor(colours.highlightBackground));
                    painter.setPen(toQColor(colours.highlightText));
                } else {
                    painter.setPen(toQColor(colours.text));
                }
                drawPiece(painter, x, baseline, piece.text, text, utf8, metrics);
                x += advance;
                if (x >= width) break;
            }
            continue;
        }
        painter.setPen(toQColor(colours.text));
        const std::vector<std::string_view> cells = tableCells(line);
        const std::vector<std::int64_t> starts =
            cellStarts(cells, widths, m_metrics.averageCharWidth);
        for (std::size_t i = 0; i < cells.size(); ++i) {
            const std::int64_t x = starts[i] - scrollX;
            if (x >= width) break;
            const std::string_view shown = cutToPixels(cells[i], width - x);
            if (!shown.empty()) {
                drawPiece(painter, x, baseline, shown, decodePiece(shown, utf8), utf8, metrics);
            }
        }
    }
}

void ResultView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

bool ResultView::viewportEvent(QEvent* event) {
    if (event->type() != QEvent::ToolTip || m_readAs.empty())
        return QAbstractScrollArea::viewportEvent(event);
    // Only a file's separator line names the file by itself; hit lines may not name it at all.
    const auto* help = static_cast<QHelpEvent*>(event);
    const long index = lineAt(help->pos().y());
    const CExStringList& list = m_document.list(m_document.displayedKind());
    std::string_view line;
    if (index >= 0) line = withoutLineEnd(CExStringList::at(list.findIndex(static_cast<int>(index))));
    constexpr std::string_view kOpen = "-----[ ";
    constexpr std::string_view kClose = " ]-----";
    auto found = m_readAs.end();
    if (line.size() > kOpen.size() + kClose.size() && line.starts_with(kOpen) &&
        line.ends_with(kClose))
        found = m_readAs.find(std::string(
            line.substr(kOpen.size(), line.size() - kOpen.size() - kClose.size())));
    if (found == m_readAs.end()) {
        QToolTip::hideText();
        event->ignore();
    } else {
        QToolTip::showText(help->globalPos(),
                           QString("Read as %1").arg(QString::fromStdString(found->second)),
                           viewport());
    }
    return true;
}

void ResultView::contextMenuEvent(QContextMenuEvent* event) {
    if (m_contextMenu != nullptr) m_contextMenu->popup(event->globalPos());
    event->accept();
}

void ResultView::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const long index = lineAt(static_cast<int>(event->position().y()));
    if (index >= 0) emit lineActivated(index);
}

void ResultView::keyPressEvent(QKeyEvent* event) {
    // Ctrl+Home and Ctrl+End jump to either end of the list; everything else scrolls as usual.
    if (event->modifiers() & Qt::ControlModifier) {
        if (event->key() == Qt::Key_Home) return scrollToLine(0);
        if (event->key() == Qt::Key_End) return scrollToLine(verticalScrollBar()->maximum());
    }
    QAbstractScrollArea::keyPressEvent(event);
}

void ResultView::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void ResultView::dragMoveEvent(QDragMoveEvent* event) {
    if (event->mimeData()->hasUrls()) event->acceptProposedAction();
}

void ResultView::dropEvent(QDropEvent* event) {
    QStringList paths;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    emit filesDropped(paths);
}

void ResultView::setViewFont(const QFont& font) {
    m_font = font;
    setFont(font);
    const QFontMetrics metrics(font);
    m_metrics = CellMetrics::from(metrics.lineSpacing(), metrics.averageCharWidth());
    m_backslashFont.reset();
    if (!drawsBackslash(font)) {
        QFont backslash = font;
        backslash.setFamilies(kBackslashFaces);
        backslash.setStyleHint(QFont::Monospace);
        m_backslashFont = backslash;
        const int drawn = QFontMetrics(backslash).horizontalAdvance(QLatin1Char('\\'));
        m_backslashOffset = (m_metrics.averageCharWidth - drawn) / 2;
    }
}

const KeywordMarks& ResultView::keywordMarks() {
    const DisplaySnapshot& search = m_document.snapshot();
    if (search.searchKind != m_marks.searchKind || search.keywordColumn != m_marks.keywordColumn ||
        search.keyword1 != m_marksKeyword) {
        readKeywordMarks();
    }
    return m_marks;
}

void ResultView::readKeywordMarks() {
    const DisplaySnapshot& search = m_document.snapshot();
    m_marks.searchKind = search.searchKind;
    m_marks.keywordColumn = search.keywordColumn;
    m_marks.untagged = search.formatSelector == 1;
    // keyword1 names the group in a word-group search; any other keyword names no group.
    m_marks.words = readGroupWords(m_profile, search.keyword1);
    m_marks.words.push_back(search.keyword1);
    m_marksKeyword = search.keyword1;
    m_marks.expression = nullptr;
    if (m_expressions.active()) {
        m_marks.expression = [this](std::string_view text,
                                    std::size_t from) -> std::optional<ByteSpan> {
            m_expressionText.assign(text);
            const std::optional<RegexMatch> match = m_expressions.findFirst(m_expressionText, from);
            if (!match) return std::nullopt;
            return ByteSpan{match->offset, match->length};
        };
    }
}

void ResultView::setExpressionSearch(const KeywordSpec& keyword1, const KeywordSpec& keyword2,
                                     int method, bool ignoreCase) {
    m_expressions.release();
    // Keyword 2 decides which lines are hits, not where the keyword stands, unless OR makes
    // it one more alternative of keyword 1.
    const KeywordSpec alternative = method == 2 ? keyword2 : KeywordSpec{};
    RecordingUserInterface quiet;  // the search has told of any failure already
    if (m_expressions.openEngine())
        m_expressions.compile(keyword1, alternative, method, ignoreCase, m_profile,
                              ExpressionMessages{}, quiet);
    readKeywordMarks();
    viewport()->update();
}

void ResultView::clearExpressionSearch() {
    if (!m_expressions.active()) return;
    m_expressions.release();
    readKeywordMarks();
    viewport()->update();
}

void ResultView::drawPiece(QPainter& painter, std::int64_t x, int baseline, std::string_view bytes,
                           const QString& text, bool utf8, const QFontMetrics& metrics) const {
    const bool backslashes = m_backslashFont && text.contains(QLatin1Char('\\'));
    if (utf8) {
        // Paths of this system: drawn as the font sets them, backslashes aside.
        if (!backslashes) {
            painter.drawText(int(x), baseline, text);
            return;
        }
        const QStringList parts = text.split(QLatin1Char('\\'));
        for (qsizetype i = 0; i < parts.size(); ++i) {
            if (i > 0) {
                drawBackslash(painter, int(x), baseline);
                x += metrics.horizontalAdvance(QLatin1Char('\\'));
            }
            painter.drawText(int(x), baseline, parts[i]);
            x += metrics.horizontalAdvance(parts[i]);
        }
        return;
    }
    // One drawText puts each character after the advances of those before it: at its byte
    // column only when every character is as wide as its cells. Characters from a fallback
    // font or a proportional face are not, and their widths may even add up to the line's.
    // Each Shift-JIS character decodes to one UTF-16 unit; should one not, they are decoded
    // one by one.
    const std::int64_t cell = m_metrics.averageCharWidth;
    bool exact = !backslashes;
    std::size_t characters = 0;
    for (std::size_t i = 0, step = 0; i < bytes.size(); i += step, ++characters) {
        step = ximo::characterLength(bytes, i);
        exact = exact && qsizetype(characters) < text.size() &&
                metrics.horizontalAdvance(text[qsizetype(characters)]) == std::int64_t(step) * cell;
    }
    const bool oneUnitEach = characters == std::size_t(text.size());
    if (exact && oneUnitEach) {
        painter.drawText(int(x), baseline, text);
        return;
    }
    const int right = viewport()->width();
    qsizetype unit = 0;
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t step = ximo::characterLength(bytes, i);
        const std::int64_t at = x + std::int64_t(i) * cell;
        if (at >= right) break;
        // A glyph may reach past its cells, so one just left of the window is still drawn.
        if (at + 4 * cell > 0) {
            const std::string_view character = bytes.substr(i, step);
            if (character == "\\" && m_backslashFont) {
                drawBackslash(painter, int(at), baseline);
            } else {
                painter.drawText(int(at), baseline,
                                 oneUnitEach ? QString(text[unit]) : decodePiece(character, false));
            }
        }
        i += step;
        ++unit;
    }
}

void ResultView::drawBackslash(QPainter& painter, int x, int baseline) const {
    painter.setFont(*m_backslashFont);
    painter.drawText(x + m_backslashOffset, baseline, QStringLiteral("\\"));
    painter.setFont(m_font);
}

std::int64_t ResultView::lineWidth() {
    const ResultKind kind = m_document.displayedKind();
    const TableMode mode = tableMode();
    if (kind == ResultKind::Spreadsheet) {
        return std::max<std::int64_t>(std::int64_t(kSpreadsheetTabUnits) * g_tabUnit,
                                      tableWidth(m_tsvWidths));
    }
    const std::int64_t longest = m_document.list(kind).cachedLongestLength();
    if (mode == TableMode::Collocation) return std::max(longest, tableWidth(m_collocationWidths));
    return longest;
}

const std::vector<int>& ResultView::columnWidths(TableMode mode) const {
    return mode == TableMode::Collocation ? m_collocationWidths : m_tsvWidths;
}

void ResultView::updateScrollBars() {
    QScrollBar* vertical = verticalScrollBar();
    QScrollBar* horizontal = horizontalScrollBar();
    const int count = m_document.list(m_document.displayedKind()).count();
    if (count == 0) {
        vertical->setRange(0, 0);
        horizontal->setRange(0, 0);
        return;
    }
    const int height = viewport()->height();
    const int width = viewport()->width();
    vertical->setRange(0, lastFirstLine(count, height, m_metrics.lineHeight));
    vertical->setPageStep(wholeLinesIn(height, m_metrics.lineHeight));
    vertical->setSingleStep(kVerticalLineStep);
    const int extent = horizontalExtent(lineWidth(), m_metrics.averageCharWidth);
    horizontal->setRange(0, std::max(0, extent - width));
    horizontal->setPageStep(std::max(1, width));
    horizontal->setSingleStep(kHorizontalLineStep * m_metrics.averageCharWidth);
}

void ResultView::refreshDocumentViews() {
    viewport()->update();
    m_ui.refreshViews(m_document.id());
}

}  // namespace vellmora
