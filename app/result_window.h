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

    /// The title as the document's state says: its file's name, else its base title.
    void updateTitle();
    /// "<title>  <progress>" while a long command runs in the window.
    void showBusyTitle(const QString& progress);

    /// The can-close step every close of the window runs first (the save question); the
    /// window stays open when it returns false.
    void setCanClose(std::function<bool(ResultWindow&)> canClose) { m_canClose = std::move(canClose); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    std::unique_ptr<CPyxoDoc> m_document;
    ResultView* m_view;
    SearchState m_state;
    std::function<bool(ResultWindow&)> m_canClose;
};

}  // namespace vellmora
