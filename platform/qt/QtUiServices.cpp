// Message boxes, beeps, file and folder dialogs and program starts on Qt Widgets.
#include "QtUiServices.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>

namespace platform {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

QMessageBox::StandardButtons qtButtons(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok:
      return QMessageBox::Ok;
    case MsgButtons::OkCancel:
      return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::YesNo:
      return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::YesNoCancel:
      return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon qtIcon(MsgIcon icon) {
  switch (icon) {
    case MsgIcon::None:
      return QMessageBox::NoIcon;
    case MsgIcon::Information:
      return QMessageBox::Information;
    case MsgIcon::Warning:
      return QMessageBox::Warning;
    case MsgIcon::Error:
      return QMessageBox::Critical;
    case MsgIcon::Question:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

QMessageBox::StandardButton qtButton(MsgResult result) {
  switch (result) {
    case MsgResult::Ok:
      return QMessageBox::Ok;
    case MsgResult::Cancel:
      return QMessageBox::Cancel;
    case MsgResult::Yes:
      return QMessageBox::Yes;
    case MsgResult::No:
      return QMessageBox::No;
  }
  return QMessageBox::NoButton;
}

// The answer for a box closed with Escape or its close box: the "no" side of its buttons.
MsgResult escapeResult(MsgButtons buttons) {
  switch (buttons) {
    case MsgButtons::Ok:
      return MsgResult::Ok;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel:
      return MsgResult::Cancel;
    case MsgButtons::YesNo:
      return MsgResult::No;
  }
  return MsgResult::Cancel;
}

}  // namespace

QStringList qtNameFilters(const std::string& filter) {
  const QStringList parts = qs(filter).split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    patterns = patterns.simplified();
    if (patterns.isEmpty() || description.contains(QLatin1Char('(') + patterns + QLatin1Char(')'))) {
      filters << description;
    } else {
      filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
  }
  return filters;
}

MsgResult QtUiServices::messageBox(const std::string& text, const std::string& caption, MsgButtons buttons,
                                   MsgIcon icon, std::optional<MsgResult> defaultButton) {
  QMessageBox box(qtIcon(icon), qs(caption), qs(text), qtButtons(buttons), parent_.data());
  if (defaultButton) {
    if (auto* button = qobject_cast<QPushButton*>(box.button(qtButton(*defaultButton)))) {
      box.setDefaultButton(button);
      // A box that also offers Cancel keeps Cancel for Escape.
      if (*defaultButton == MsgResult::No && buttons == MsgButtons::YesNo) box.setEscapeButton(button);
    }
  }
  switch (box.exec()) {
    case QMessageBox::Ok:
      return MsgResult::Ok;
    case QMessageBox::Cancel:
      return MsgResult::Cancel;
    case QMessageBox::Yes:
      return MsgResult::Yes;
    case QMessageBox::No:
      return MsgResult::No;
    default:
      return escapeResult(buttons);
  }
}

void QtUiServices::Beep(unsigned, unsigned) { QApplication::beep(); }

std::optional<FileDialogResult> QtUiServices::openFileDialog(const FileDialogRequest& request) {
  return fileDialog(request, false);
}

std::optional<FileDialogResult> QtUiServices::saveFileDialog(const FileDialogRequest& request) {
  return fileDialog(request, true);
}

std::optional<FileDialogResult> QtUiServices::fileDialog(const FileDialogRequest& request, bool save) {
  QFileDialog dialog(parent_.data(), qs(request.title), qs(request.initialDir));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  // Files written on other systems often carry upper-case extensions ("PANEL.TVX"): the filters
  // match without regard to case, which Qt's own dialog can do and a native one may not.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QStringList filters = qtNameFilters(request.filter);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    const qsizetype index = request.filterIndex - 1;
    if (index >= 0 && index < filters.size()) dialog.selectNameFilter(filters[index]);
  }
  if (!request.defaultExt.empty()) dialog.setDefaultSuffix(qs(request.defaultExt));
  if (!request.fileName.empty()) dialog.selectFile(qs(request.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  FileDialogResult result;
  result.path = dialog.selectedFiles().first().toStdString();
  const qsizetype chosen = filters.indexOf(dialog.selectedNameFilter());
  result.filterIndex = chosen >= 0 ? static_cast<int>(chosen) + 1 : 1;
  return result;
}

bool QtUiServices::startProgram(const std::string& path) { return QProcess::startDetached(qs(path), {}); }

std::optional<std::string> QtUiServices::chooseFolder(const std::string& title) {
  const QString folder = QFileDialog::getExistingDirectory(parent_.data(), qs(title));
  if (folder.isEmpty()) return std::nullopt;
  return folder.toStdString();
}

}  // namespace platform
