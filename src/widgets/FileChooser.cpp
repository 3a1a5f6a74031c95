#include "FileChooser.h"

#include <QDir>
#include <QFileDialog>

namespace {
TFileChooserHook& Hook() {
  static TFileChooserHook hook;
  return hook;
}
}  // namespace

QString ChooseFile(const TFileRequest& request) {
  if (Hook()) return Hook()(request);
  QFileDialog dialog(request.owner, request.title, request.directory, request.filter);
  dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setDefaultSuffix(request.defaultSuffix);
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

TFileChooserHook SetFileChooserHook(TFileChooserHook hook) {
  TFileChooserHook previous = std::move(Hook());
  Hook() = std::move(hook);
  return previous;
}
