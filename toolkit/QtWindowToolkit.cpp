#include "QtWindowToolkit.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QMessageBox>

namespace toolkit {

void QtWindowToolkit::messageBox(QWidget* parent, const QString& text, const QString& title,
                                 MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information
                                                     : QMessageBox::NoIcon,
                    title, text, QMessageBox::Ok, parent);
    box.exec();
}

QString QtWindowToolkit::inputBox(QWidget* parent, const QString& prompt, const QString& title) {
    QInputDialog dialog(parent);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    if (dialog.exec() != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

std::optional<QString> QtWindowToolkit::saveFileName(QWidget* parent,
                                                     const SaveDialogSettings& settings,
                                                     const QString& initialName) {
    QFileDialog dialog(parent, settings.title);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(settings.defaultExtension);
    dialog.setNameFilter(settings.filter);
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!initialName.isEmpty())
        dialog.selectFile(initialName);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty())
        return std::nullopt;
    // Qt's own dialog adds the default extension; a platform's native one may not.
    QString path = files.first();
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty() &&
        !settings.defaultExtension.isEmpty())
        path += QLatin1Char('.') + settings.defaultExtension;
    return path;
}

} // namespace toolkit
