#pragma once

#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

#include "app/dispersion_plot.h"
#include "document/dispersion.h"
#include "document/result_document.h"

class QImage;
class QLabel;
class QPushButton;
class QScrollArea;

namespace vellmora {

class Profile;
class ResultWindow;

/// Where the plot of document looks for the files its result names, and how it reads KWOC
/// matches: the document's own directory, then the last search's, as the settings hold them.
DispersionContext dispersionContextFor(const CPyxoDoc& document, Profile& profile);
/// The plot of document with its title: the search, its keyword, the list shown, the totals.
DispersionPicture dispersionPictureOf(const CPyxoDoc& document, DispersionPlot plot);
/// Writes image to path as PNG; the reason when it could not be written.
std::optional<QString> writeDispersionPng(const QImage& image, const QString& path);

/// Whether "Dispersion Plot" is offered for what document shows: a search result, extracted
/// or sorted, with lines. (Its window says why when they still give no plot.)
bool dispersionOffered(const CPyxoDoc& document);

/// The plot of one result window's displayed list, in a tool window of its own: it stays in
/// front of the main window, so that the plot is still in view when a click on a tick has
/// brought the result window forward at that line. It belongs to the result window and closes
/// with it.
class DispersionWindow : public QWidget {
    Q_OBJECT

public:
    DispersionWindow(ResultWindow& source, Profile& profile);

    /// Builds the plot again, counting the files' lines anew.
    void refresh();
    /// Builds it again when the displayed list changed since it was built.
    void followDocument();

    DispersionPlotWidget& plot() { return *m_plot; }
    QPushButton* saveButton() const { return m_save; }
    /// Stands in for the file dialog of "Save as PNG" (tests); none: the dialog.
    using SaveNameChooser = std::function<QString(const QString& proposed)>;
    void setSaveNameChooser(SaveNameChooser chooser) { m_chooser = std::move(chooser); }
    /// "Save as PNG": asks for a name and writes the plot at its shown width; a failure is
    /// shown in a message box.
    void saveAsPng();

private:
    struct Shown {
        ResultKind kind = ResultKind::Original;
        std::uint64_t generation = 0;
        int count = -1;
        int formatSelector = 0;
        bool operator==(const Shown&) const = default;
    };
    Shown shownNow() const;
    void rebuild();

    ResultWindow& m_source;
    Profile& m_profile;
    FileLineCounts m_counts;
    Shown m_shown;
    DispersionPlotWidget* m_plot;
    QScrollArea* m_scroll;
    QLabel* m_message;
    QPushButton* m_save;
    SaveNameChooser m_chooser;
};

/// "Dispersion Plot": the plot window of window, opened or raised, made afresh.
DispersionWindow* showDispersionWindow(ResultWindow& window, Profile& profile);
/// The plot window of window follows its document, when one is open.
void followDispersionWindow(ResultWindow& window);

}  // namespace vellmora
