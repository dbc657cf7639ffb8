#pragma once

#include <QDialog>
#include <string_view>

class QPlainTextEdit;
class QPushButton;

namespace vellmora {

class Profile;
class UserInterface;

/// The dialog "Copy to the Clipboard!!": shows a text a command produced so that the user can
/// copy part of it ("partial") or all of it ("whole").
class CEditCopyDialog : public QDialog {
    Q_OBJECT

public:
    static constexpr std::string_view kTitle = "Copy to the Clipboard!!";
    static constexpr std::string_view kNotSelectedMessage = "Not Selected X-<";
    static constexpr std::string_view kCopiedMessage = "Mission acomplished!(^_^)";

    /// text: the bytes to show (Shift-JIS or UTF-8), lines ending in "\r\n" or "\n".
    CEditCopyDialog(std::string_view text, Profile& profile, UserInterface& ui,
                    QWidget* parent = nullptr);

    QPlainTextEdit* textField() const { return m_text; }
    QPushButton* partialButton() const { return m_partial; }
    QPushButton* wholeButton() const { return m_whole; }

public slots:
    /// Copies the selection; with nothing selected, says so and stays open.
    void copyPartial();
    /// Selects everything and copies it.
    void copyWhole();

private:
    void finish();

    Profile& m_profile;
    UserInterface& m_ui;
    QPlainTextEdit* m_text;
    QPushButton* m_partial;
    QPushButton* m_whole;
};

}  // namespace vellmora
