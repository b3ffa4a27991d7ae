#include "QtWindowToolkit.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace toolkit {

namespace {

// Makes a box as wide as its title bar needs to show the title whole: the text in the bold face
// most window managers draw titles in, and room for the window's icon and buttons. Windows' own
// message boxes grow to show their titles; Qt's grow only to their text.
// The boxes size themselves from their layouts, so the room is a spacer across the last row.
void makeRoomForTitle(QDialog& box) {
    (void)box.sizeHint(); // an input dialog builds its layout only when first measured
    QFont font = box.font();
    font.setBold(true);
    const QFontMetrics metrics(font);
    auto* room = new QSpacerItem(
        metrics.horizontalAdvance(box.windowTitle()) + 6 * (metrics.height() + 4), 0);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(room, grid->rowCount(), 0, 1, grid->columnCount());
    else if (box.layout())
        box.layout()->addItem(room);
    else
        delete room;
}

} // namespace

void QtWindowToolkit::messageBox(QWidget* parent, const QString& text, const QString& title,
                                 MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Information ? QMessageBox::Information
                                                     : QMessageBox::NoIcon,
                    title, text, QMessageBox::Ok, parent);
    makeRoomForTitle(box);
    box.exec();
}

QString QtWindowToolkit::inputBox(QWidget* parent, const QString& prompt, const QString& title) {
    QInputDialog dialog(parent);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    makeRoomForTitle(dialog);
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
    // Windows' own dialog takes only the name from selectFile(), so the folder is set too:
    // otherwise it opens in the working folder and saves the offered name there.
    if (!initialName.isEmpty()) {
        dialog.setDirectory(QFileInfo(initialName).absolutePath());
        dialog.selectFile(initialName);
    }
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

std::optional<QList<int>> QtWindowToolkit::chooseItems(QWidget* parent, const QString& prompt,
                                                       const QString& title,
                                                       const QList<Choice>& choices,
                                                       const QString& accept) {
    QDialog dialog(parent);
    dialog.setWindowTitle(title);
    auto* layout = new QVBoxLayout(&dialog);
    auto* label = new QLabel(prompt, &dialog);
    label->setWordWrap(true);
    layout->addWidget(label);
    auto* split = new QSplitter(&dialog);
    auto* list = new QListWidget(split);
    auto* text = new QPlainTextEdit(split);
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    text->setTabStopDistance(4 * QFontMetricsF(text->font()).horizontalAdvance(u' '));
    split->setStretchFactor(1, 2);
    layout->addWidget(split, 1);
    for (const Choice& choice : choices) {
        auto* item = new QListWidgetItem(choice.name, list);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Checked);
    }
    QObject::connect(list, &QListWidget::currentRowChanged, text, [text, &choices](int row) {
        text->setPlainText(row >= 0 && row < choices.size() ? choices.at(row).text : QString());
    });
    list->setCurrentRow(choices.isEmpty() ? -1 : 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, &dialog);
    buttons->addButton(accept, QDialogButtonBox::AcceptRole)->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    const QFontMetrics metrics(text->font());
    dialog.resize(metrics.horizontalAdvance(QLatin1Char('x')) * 110, metrics.height() * 24);
    makeRoomForTitle(dialog);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    QList<int> chosen;
    for (int row = 0; row < list->count(); ++row) {
        if (list->item(row)->checkState() == Qt::Checked)
            chosen << row;
    }
    return chosen;
}

} // namespace toolkit
