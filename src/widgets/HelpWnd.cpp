#include "HelpWnd.h"

#include <QApplication>
#include <QFile>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QMenu>
#include <QStyle>
#include <QTextBrowser>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

#include "GeneralUtil.h"
#include "ScreenPlacement.h"
#include "UiText.h"
#include "settings/AppLangHandl.h"
#include "settings/TextNumbers.h"
#include "storage/FileUtil.h"

namespace {
constexpr const char* kHelpContext = "qmHelpContext";

struct THelpState {
  std::string path;
  QString language = QStringLiteral("EN");
  const TAppLangHandler* texts = nullptr;
  std::unique_ptr<THelpFile> file;  // read at the first use
  QPointer<THelpWindow> window;
};

THelpState& State() {
  static THelpState state;
  return state;
}

QString Text(int n, const char* fallback) {
  const TAppLangHandler* texts = State().texts;
  const QString text = texts != nullptr ? UiText(*texts, n) : QString();
  return text.isEmpty() || text == QStringLiteral("????") ? QString::fromLatin1(fallback) : text;
}

QString Caption(QWidget* owner) {
  if (owner != nullptr && !owner->window()->windowTitle().isEmpty()) return owner->window()->windowTitle();
  return QStringLiteral("Quillmere");
}

// Reads the help file once; false after a message when it cannot be used.
bool EnsureFile(QWidget* owner) {
  THelpState& s = State();
  if (s.file) return true;
  const QString name = Utf8ToQString(s.path);
  QFile f(QString::fromStdString(NativePath(s.path).string()));
  QString reason;
  auto file = std::make_unique<THelpFile>();
  if (!f.open(QIODevice::ReadOnly)) {
    reason = f.errorString();
  } else if (!file->Parse(f.readAll(), &reason)) {
    // reason set by Parse
  } else {
    s.file = std::move(file);
    return true;
  }
  ShowMessageBox(owner, Caption(owner),
                 Text(txHelpUnreadable, "The help file cannot be read:") + "\n" + name + "\n" + reason,
                 QMessageBox::Warning, QMessageBox::Ok, true);
  return false;
}

void Show(QWidget* owner, const THelpTopic* topic, const QString& what) {
  THelpState& s = State();
  if (topic == nullptr) {
    ShowMessageBox(owner, Caption(owner), Text(txHelpNoTopic, "The help has no topic") + " " + what,
                   QMessageBox::Information, QMessageBox::Ok, true);
    return;
  }
  if (s.window.isNull()) {
    // Owned by the owner's top window, so it ends with the program at the latest.
    QWidget* top = owner != nullptr ? owner->window() : nullptr;
    s.window = new THelpWindow(top, *s.file);
  }
  s.window->ApplyTexts();
  s.window->ShowTopic(*topic);
  s.window->show();
  s.window->raise();
  s.window->activateWindow();
}

// Topics are resources of the scheme "topic:", so links and "Back" go
// through the browser's own history.
class THelpBrowser : public QTextBrowser {
 public:
  THelpBrowser(QWidget* parent, const THelpFile& file) : QTextBrowser(parent), file_(file) {}

  QVariant loadResource(int type, const QUrl& url) override {
    if (url.scheme() != QStringLiteral("topic")) return QTextBrowser::loadResource(type, url);
    const THelpTopic* topic = file_.ByKeyword(url.path());
    return topic != nullptr ? file_.TopicHtml(*topic, State().language) : QString();
  }

 private:
  const THelpFile& file_;
};

QUrl TopicUrl(const QString& keyword) {
  QUrl url;
  url.setScheme(QStringLiteral("topic"));
  url.setPath(keyword);
  return url;
}

// The highlighted item's context, else that of the window the menu belongs to.
int MenuHelpContext(const QMenu& menu) {
  if (const QAction* item = menu.activeAction()) {
    const int context = item->property(kHelpContext).toInt();
    if (context > 0) return context;
  }
  return menu.parentWidget() != nullptr ? HelpContextOf(menu.parentWidget()) : 0;
}

class THelpKeyFilter : public QObject {
 public:
  using QObject::QObject;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() != QEvent::KeyPress || static_cast<QKeyEvent*>(event)->key() != Qt::Key_F1)
      return QObject::eventFilter(watched, event);
    // F1 on an open menu asks about its highlighted item, wherever the key
    // was delivered; the menu closes so the help can take the keyboard.
    if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      const int context = MenuHelpContext(*menu);
      if (context <= 0) return false;
      QWidget* owner = menu->window();
      for (QWidget* m = menu; qobject_cast<QMenu*>(m) != nullptr; m = m->parentWidget()) {
        owner = m->parentWidget() != nullptr ? m->parentWidget()->window() : owner;
        m->hide();
      }
      ShowHelpContext(owner, context);
      return true;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr) return false;
    const int context = HelpContextOf(widget);
    if (context <= 0) return false;
    ShowHelpContext(widget, context);
    return true;
  }
};
}  // namespace

THelpWindow::THelpWindow(QWidget* owner, const THelpFile& file) : QWidget(owner, Qt::Window), file_(file) {
  setObjectName(QStringLiteral("helpWindow"));
  setAttribute(Qt::WA_DeleteOnClose);
  auto* layout = new QVBoxLayout(this);
  auto* bar = new QHBoxLayout;
  btnBack_ = new QToolButton(this);
  btnBack_->setObjectName(QStringLiteral("btnBack"));
  btnBack_->setIcon(style()->standardIcon(QStyle::SP_ArrowBack));
  btnBack_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  btnBack_->setAutoRaise(true);
  btnContents_ = new QToolButton(this);
  btnContents_->setObjectName(QStringLiteral("btnContents"));
  btnContents_->setIcon(style()->standardIcon(QStyle::SP_FileDialogContentsView));
  btnContents_->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
  btnContents_->setAutoRaise(true);
  bar->addWidget(btnBack_);
  bar->addWidget(btnContents_);
  bar->addStretch();
  layout->addLayout(bar);
  browser_ = new THelpBrowser(this, file_);
  browser_->setObjectName(QStringLiteral("helpBrowser"));
  layout->addWidget(browser_);
  resize(520, 420);
  KeepFrameOnScreen(this);
  connect(browser_, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) { current_ = url.path(); });
  connect(browser_, &QTextBrowser::backwardAvailable, btnBack_, &QWidget::setEnabled);
  connect(btnBack_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
  connect(btnContents_, &QToolButton::clicked, this, [this] {
    if (const THelpTopic* t = file_.ByKeyword(QStringLiteral("Inhalt"))) ShowTopic(*t);
  });
  btnBack_->setEnabled(false);
  ApplyTexts();
}

void THelpWindow::ApplyTexts() {
  setWindowTitle(Text(txHelpTitle, "Quillmere Help"));
  btnBack_->setText(Text(txHelpBack, "Back"));
  btnContents_->setText(Text(txHelpContents, "Contents"));
  browser_->setAccessibleName(Text(txHelp, "Help"));
}

void THelpWindow::Reload() { browser_->reload(); }

void THelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
    close();
  else
    QWidget::keyPressEvent(event);
}

void THelpWindow::ShowTopic(const THelpTopic& topic) {
  current_ = topic.keyword;
  if (browser_->source() == TopicUrl(topic.keyword)) {
    browser_->reload();  // the language may have changed
  } else {
    browser_->setSource(TopicUrl(topic.keyword), QTextDocument::HtmlResource);
  }
}

void SetHelpFile(const std::string& storedPath) {
  THelpState& s = State();
  s.path = storedPath;
  s.file.reset();
}

void SetHelpLanguage(const std::string& code) {
  State().language = QString::fromStdString(code);
  if (!State().window.isNull()) {
    State().window->ApplyTexts();
    State().window->Reload();
  }
}

void SetHelpTexts(const TAppLangHandler* texts) { State().texts = texts; }

void ShowHelpTopic(QWidget* owner, const QString& keyword) {
  if (!EnsureFile(owner)) return;
  Show(owner, State().file->ByKeyword(keyword), '"' + keyword + '"');
}

void ShowHelpContext(QWidget* owner, int context) {
  if (!EnsureFile(owner)) return;
  Show(owner, State().file->ByContext(context), QString::number(context));
}

void CloseHelp() {
  THelpState& s = State();
  if (!s.window.isNull()) s.window->close();
}

THelpWindow* OpenHelpWindow() { return State().window.data(); }

void SetHelpContext(QWidget* widget, int context) { widget->setProperty(kHelpContext, context); }
void SetHelpContext(QAction* item, int context) { item->setProperty(kHelpContext, context); }

int HelpContextOf(const QWidget* widget) {
  for (const QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    const int context = w->property(kHelpContext).toInt();
    if (context > 0) return context;
    if (w->isWindow()) break;  // a dialog does not borrow its owner's context
  }
  return 0;
}

void InstallHelpKey() {
  static QPointer<QObject> filter;
  if (!filter.isNull() || qApp == nullptr) return;
  filter = new THelpKeyFilter(qApp);  // owned by the application
  qApp->installEventFilter(filter);
}

#include "moc_HelpWnd.cpp"
