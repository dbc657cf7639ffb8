#pragma once

#include <QAbstractScrollArea>
#include <QFont>
#include <QStringList>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "document/line_cursor.h"
#include "document/result_view_layout.h"
#include "engine/keyword_matcher.h"
#include "engine/search_expressions.h"
#include "settings/font_record.h"

class QFontMetrics;
class QMenu;
class QPainter;

namespace vellmora {

class CPyxoDoc;
class Profile;
class UserInterface;

/// The result view (CPyxoscrol): one list of its document drawn line by line in a single font.
/// Only the visible lines are drawn and the view scrolls by whole lines, so a result of any
/// length scrolls and jumps at once. Lines stay Shift-JIS bytes in the document; only what is
/// drawn is converted.
class ResultView : public QAbstractScrollArea {
    Q_OBJECT

public:
    /// The initial update: takes the font of the settings and accepts dropped files.
    ResultView(CPyxoDoc& document, Profile& profile, UserInterface& ui, QWidget* parent = nullptr);

    CPyxoDoc& document() { return m_document; }

    /// The document or its displayed kind changed: scroll sizes again, and repaint.
    void updateFromDocument();

    /// Column widths in bytes of the TSV/CSV result, recorded by the conversion.
    void setTsvColumnWidths(std::vector<int> widths);
    /// Column widths in bytes of the collocation table, recorded by the table command.
    void setCollocationColumnWidths(std::vector<int> widths);
    /// The menu a right click opens; the main window builds it from its actions. Not owned.
    void setContextMenu(QMenu* menu) { m_contextMenu = menu; }
    /// What the files of the last search were read as, by the name their separator lines
    /// show; hovering a separator line tells it. Empty when the run read every file as
    /// Shift-JIS without asking.
    void setReadAs(std::map<std::string, std::string> encodingByName) {
        m_readAs = std::move(encodingByName);
    }
    /// The last search's keywords were regular expressions, compiled here as the search
    /// compiled them, so that their matches are marked instead of the pattern's text. Without
    /// the engine, or a pattern the engine refuses, the words are marked as before.
    void setExpressionSearch(const KeywordSpec& keyword1, const KeywordSpec& keyword2,
                             int method, bool ignoreCase);
    void clearExpressionSearch();
    /// What marks the keyword in the lines: the keyword and its group's words as the
    /// document's search left them (read from the settings only when that search changes, not
    /// per paint), or the search's expression.
    const KeywordMarks& keywordMarks();

    TableMode tableMode() const;
    /// The font the view draws with.
    const QFont& viewFont() const { return m_font; }
    /// Line height and average character width in pixels, as the layout uses them.
    const CellMetrics& metrics() const { return m_metrics; }
    /// The line at the top of the window.
    int firstVisibleLine() const;
    /// Scrolls so that line index stands at the top, as far as the list allows.
    void scrollToLine(int index);
    /// Marks line index of the shown list as the current one and scrolls it into view.
    void showCurrentLine(long index);
    /// The current line, or -1 when there is none or the list has changed since.
    long currentLine() const;
    /// The line under a point of the viewport, or -1 below the last line.
    long lineAt(int viewportY) const;
    /// Where each cell of a line starts in the current table mode, in viewport pixels at the
    /// current horizontal scroll position (one cell at the margin in table mode none).
    std::vector<std::int64_t> cellPositions(std::string_view line) const;
    /// Nodes walked to find the first visible line in the last paint (for measuring).
    long lastSeekSteps() const { return m_cursor.lastSteps(); }

    /// The tab unit in effect for every view: the TSV/CSV result is 15 tab units wide.
    static int tabUnit();
    static void setTabUnit(int unit);

    /// The font a settings record names. "FixedSys" and faces this system lacks become
    /// IPAGothic at an even pixel size, where a full-width character is exactly two
    /// half-width cells. The view places every character in its cells itself, so columns
    /// line up in any font; this one only makes that the cheap case.
    static QFont fontFromRecord(const FontRecord& record, std::string_view face);
    /// The record of a font chosen in the font dialog; the fields a font does not carry
    /// (character set, precisions, quality, text colour) come from base.
    static FontRecord recordFromFont(const QFont& font, const FontRecord& base);

public slots:
    /// "Fo&nt" / "Select Font": the font dialog; on OK the font is stored for every view.
    void chooseFont();
    /// "Text Color...": the colour dialog; on OK the text colour is stored.
    void chooseTextColor();
    /// "Background Color...": the colour dialog; on OK the background colour is stored.
    void chooseBackgroundColor();
    /// "Display...": the dialog "Display Options"; on OK its value is the tab unit in effect.
    void displayOptions();
    /// "&Copy": the displayed list to the clipboard, as "Setting"/"ClipCopySize" allows.
    void copyToClipboard();

    /// What chooseFont() does on OK: stores the font for every view from its initial update,
    /// with the current text colour, and shows it in this view at once.
    void applyChosenFont(const QFont& font);
    /// What the colour commands do on OK.
    void applyTextColor(const QColor& colour);
    void applyBackgroundColor(const QColor& colour);

signals:
    /// A double click on a line (the text-editor jump takes it from here).
    void lineActivated(long index);
    /// Local files dropped on the view, as paths.
    void filesDropped(const QStringList& paths);
    /// The clipboard got lines of the shown list's total (fewer when "ClipCopySize" cut it).
    void copied(long lines, long total);
    /// The copy finished and "TextEditor"/"Executable2" with "CmdLine2" names the program
    /// that should open the clipboard's text (started by the editor-jump code).
    void clipboardEditorRequested();

protected:
    void paintEvent(QPaintEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void setViewFont(const QFont& font);
    void readKeywordMarks();
    /// Draws bytes of a line (text is their decoded form) with their first cell at x.
    void drawPiece(QPainter& painter, std::int64_t x, int baseline, std::string_view bytes,
                   const QString& text, bool utf8, const QFontMetrics& metrics) const;
    void drawBackslash(QPainter& painter, int x, int baseline) const;
    /// The width of the displayed kind in characters, for the horizontal extent.
    std::int64_t lineWidth();
    const std::vector<int>& columnWidths(TableMode mode) const;
    void updateScrollBars();
    void refreshDocumentViews();

    CPyxoDoc& m_document;
    std::map<std::string, std::string> m_readAs;
    Profile& m_profile;
    UserInterface& m_ui;
    QFont m_font;
    CellMetrics m_metrics;
    /// Set when the view font draws a backslash as a yen sign: the face that draws it instead,
    /// and where in its cell.
    std::optional<QFont> m_backslashFont;
    int m_backslashOffset = 0;
    KeywordMarks m_marks;
    std::string m_marksKeyword;
    SearchExpressions m_expressions;
    std::string m_expressionText;  // a line's text ended by NUL, as the engine reads it
    std::vector<int> m_tsvWidths;
    std::vector<int> m_collocationWidths;
    QMenu* m_contextMenu = nullptr;
    LineCursor m_cursor;
    /// The current line, valid only for the list it was set in, unchanged.
    struct CurrentLine {
        ResultKind kind = ResultKind::Original;
        std::uint64_t generation = 0;
        long index = -1;
    };
    CurrentLine m_current;
};

}  // namespace vellmora
