#pragma once

#include <QElapsedTimer>
#include <QString>
#include <functional>
#include <string>
#include <string_view>

#include "platform/user_interface.h"

class QWidget;

namespace vellmora {

/// Text the program holds as bytes, for a widget: UTF-8 (the program's own texts, paths) when
/// it is valid UTF-8, otherwise Shift-JIS (corpus text, keywords).
QString displayText(std::string_view bytes);
/// What a person typed, as the bytes the program holds: keywords, group names and words are
/// Shift-JIS inside, so the text goes back through CP932.
std::string keywordBytes(const QString& text);

/// The desktop program's side of the engine's user interface: message boxes with the exact
/// texts, the bell, and a pump that lets the window's events run at most every 15 ms so that
/// a search stays responsive without paying for it on every line.
class QtUserInterface : public UserInterface {
public:
    /// Where titles and views of a document are changed: the main window's business.
    struct DocumentHooks {
        std::function<void(DocumentId, std::string_view progress)> showBusyTitle;
        std::function<void(DocumentId)> restoreTitle;
        std::function<void(DocumentId)> refreshViews;
    };

    explicit QtUserInterface(QWidget* parent = nullptr);

    void setParentWidget(QWidget* parent) { m_parent = parent; }
    void setDocumentHooks(DocumentHooks hooks) { m_hooks = std::move(hooks); }

    void beep() override;
    Answer message(std::string_view text, Buttons buttons) override;
    void pump() override;
    void pumpWhileWaiting() override;
    void showBusyTitle(DocumentId document, std::string_view progress) override;
    void restoreTitle(DocumentId document) override;
    void refreshViews(DocumentId document) override;
    void setWaitCursor(bool on) override;

private:
    QWidget* m_parent;
    DocumentHooks m_hooks;
    QElapsedTimer m_sincePump;
    unsigned m_callsSinceClock = 0;
    int m_waitCursorDepth = 0;
};

}  // namespace vellmora
