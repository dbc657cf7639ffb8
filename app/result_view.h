#pragma once

#include <QAbstractScrollArea>
#include <QStringList>

namespace vellmora {

class CPyxoDoc;
class Profile;
class UserInterface;

/// The result view: one list of its document drawn line by line in a single font. Only the
/// visible lines are drawn, so a result of any length scrolls and jumps at once.
class ResultView : public QAbstractScrollArea {
    Q_OBJECT

public:
    ResultView(CPyxoDoc& document, Profile& profile, UserInterface& ui, QWidget* parent = nullptr);

    CPyxoDoc& document() { return m_document; }

    /// The document or its displayed kind changed: scroll sizes again, and repaint.
    void updateFromDocument();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    CPyxoDoc& m_document;
    Profile& m_profile;
    UserInterface& m_ui;
};

}  // namespace vellmora
