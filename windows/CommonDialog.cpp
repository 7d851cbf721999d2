#include "windows/CommonDialog.h"

#include <QFileDialog>
#include <QStringList>

namespace tavo {

namespace {

CommonDialogFactory& Factory() {
    static CommonDialogFactory factory;
    return factory;
}

// "Text Files (*.txt) | *.txt" pairs a description with its pattern; Qt wants
// "Text Files (*.txt)", with the pattern in parentheses.
QString QtFilter(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split('|');
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString pattern = parts[i + 1].trimmed();
        filters << (description.contains('(') ? description : description + " (" + pattern + ")");
    }
    return filters.join(";;");
}

}  // namespace

void QtCommonDialog::ShowOpen() {
    fileName_ =
        QFileDialog::getOpenFileName(parent_, QString(), QString::fromStdString(fileName_), QtFilter(filter_))
            .toStdString();
}

void QtCommonDialog::ShowSave() {
    // The window asks "Replace file?" itself.
    fileName_ = QFileDialog::getSaveFileName(parent_, QString(), QString::fromStdString(fileName_),
                                             QtFilter(filter_), nullptr, QFileDialog::DontConfirmOverwrite)
                    .toStdString();
}

void SetCommonDialogFactory(CommonDialogFactory factory) { Factory() = std::move(factory); }

std::unique_ptr<ICommonDialog> MakeCommonDialog(QWidget* parent) {
    if (Factory()) return Factory()(parent);
    return std::make_unique<QtCommonDialog>(parent);
}

}  // namespace tavo
