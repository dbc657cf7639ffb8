#pragma once

#include <QWidget>
#include <functional>
#include <memory>

#include "document/result_document.h"
#include "engine/search_run.h"

namespace vellmora {

class Profile;
class ResultView;
class UserInterface;

/// One result window: a document, the view that shows it and the view's search state. Lives
/// inside the main window's MDI area.
class ResultWindow : public QWidget {
    Q_OBJECT

public:
    ResultWindow(std::unique_ptr<CPyxoDoc> document, Profile& profile, UserInterface& ui,
                 QWidget* parent = nullptr);
    ~ResultWindow() override;

    CPyxoDoc& document() { return *m_document; }
    ResultView& view() { return *m_view; }
    SearchState& searchState() { return m_state; }

    /// The document's name: its file's name, else its base title ("PYXO1").
    QString documentName() const;
    /// The title: the name, the keyword, the shown list's line count and, when the result is
    /// incomplete or a copy was cut, what is missing.
    void updateTitle();
    /// "<name>  <progress>" while a long command runs in the window.
    void showBusyTitle(const QString& progress);
    /// The same facts in sentences, for the status bar.
    QString statusText() const;

    /// How the last search into the window ended: a run stopped by the line limit or by Quit
    /// Search leaves an incomplete result, and the window says so until it is cleared.
    void noteSearchEnd(const SearchOutcome& outcome, int maxLine);
    /// A copy that held only copied of total lines (copied == total: a whole copy).
    void noteCopy(long copied, long total);
    /// The window was emptied: nothing is missing any more.
    void clearNotes();

    /// Line index of the shown list becomes the view's current line, in view, and the window
    /// the active one in front.
    void showLine(long index);

    /// The can-close step every close of the window runs first (the save question); the
    /// window stays open when it returns false.
    void setCanClose(std::function<bool(ResultWindow&)> canClose) { m_canClose = std::move(canClose); }

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::unique_ptr<CPyxoDoc> m_document;
    ResultView* m_view;
    SearchState m_state;
    std::function<bool(ResultWindow&)> m_canClose;
    QString m_incomplete;  ///< why the search result is incomplete; empty when it is whole
    QString m_copyNote;    ///< what the last cut copy holds; empty after a whole copy
};

}  // namespace vellmora
