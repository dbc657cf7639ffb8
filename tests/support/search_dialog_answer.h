#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QTimer>

#include "app/search_dialog.h"

namespace vellmora::testing {

/// Fills the search dialog, once it shows, with keyword over the "*.txt" files of directory
/// and presses "Search!".
inline void answerSearchDialog(const QString& keyword, const QString& directory) {
    QTimer::singleShot(0, [keyword, directory] {
        auto* dialog = qobject_cast<CSearchDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->keyword1()->setCurrentText(keyword);
        dialog->filename()->setCurrentText("*.txt");
        dialog->directory()->setCurrentText(directory);
        dialog->accept();
    });
}

}  // namespace vellmora::testing
