#include "ActionGuard.h"

#include <QApplication>

#include "GeneralUtil.h"
#include "core/Errors.h"
#include "core/CodePage.h"

namespace {
QString Caption(QWidget* owner) {
  if (owner != nullptr && !owner->windowTitle().isEmpty()) return owner->windowTitle();
  return QApplication::applicationName();
}
}  // namespace

bool GuardedAction(QWidget* owner, const std::function<void()>& action) {
  try {
    action();
    return true;
  } catch (const TConversionError& e) {
    ShowMessageBox(owner, Caption(owner), Utf8ToQString(e.Describe()), QMessageBox::Critical, QMessageBox::Ok, true);
  } catch (const TFileIoError& e) {
    ShowMessageBox(owner, Caption(owner), Utf8ToQString(e.File()) + ": " + QString::fromLocal8Bit(e.Reason()),
                   QMessageBox::Critical, QMessageBox::Ok, true);
  } catch (const std::bad_alloc&) {
    ShowMessageBox(owner, Caption(owner), QStringLiteral("Not enough memory for this action."), QMessageBox::Critical,
                   QMessageBox::Ok, true);
  }
  return false;
}
