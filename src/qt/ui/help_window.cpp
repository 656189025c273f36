// The help window; see help_window.h.
#include "qt/ui/help_window.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSplitter>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "settings/catalogue.h"

namespace qsrn {

QString ManualPath() {
  const QString appDir = QCoreApplication::applicationDirPath();
  for (const QString& candidate : {appDir + "/../share/doc/quasarine/manual.md", QStringLiteral(QSRN_DOCS_DIR "/manual.md")})
    if (QFileInfo(candidate).isFile()) return QDir::cleanPath(candidate);
  return {};
}

HelpWindow::HelpWindow(const QString& manualPath, QWidget* owner) : QWidget(owner, Qt::Window) {
  setObjectName(QStringLiteral("HelpWindow"));
  setWindowTitle(tr("Quasarine Help"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  auto* layout = new QVBoxLayout(this);
  auto* searchRow = new QHBoxLayout;
  search_ = new QLineEdit(this);
  search_->setObjectName(QStringLiteral("search"));
  search_->setPlaceholderText(tr("Words to find"));
  search_->setClearButtonEnabled(true);
  auto* searchLabel = new QLabel(tr("&Search:"), this);
  searchLabel->setBuddy(search_);
  searchRow->addWidget(searchLabel);
  searchRow->addWidget(search_, 1);
  layout->addLayout(searchRow);

  auto* splitter = new QSplitter(this);
  contents_ = new QTreeWidget(splitter);
  contents_->setObjectName(QStringLiteral("contents"));
  contents_->setHeaderHidden(true);
  browser_ = new QTextBrowser(splitter);
  browser_->setObjectName(QStringLiteral("browser"));
  browser_->setOpenExternalLinks(false);
  splitter->addWidget(contents_);
  splitter->addWidget(browser_);
  splitter->setStretchFactor(1, 3);
  layout->addWidget(splitter, 1);
  resize(900, 640);

  if (manualPath.isEmpty())
    browser_->setPlainText(tr("The manual could not be found. It is installed as share/doc/quasarine/manual.md."));
  else
    browser_->setSource(QUrl::fromLocalFile(manualPath), QTextDocument::MarkdownResource);
  BuildContents();

  connect(contents_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item != nullptr) ScrollTo(item->data(0, Qt::UserRole).toInt(), 0);
  });
  connect(search_, &QLineEdit::textChanged, this, &HelpWindow::FilterContents);
  connect(search_, &QLineEdit::returnPressed, this, &HelpWindow::FindNext);
  if (owner != nullptr) owner->installEventFilter(this);
}

// Escape closes the help as it closes a dialog (the browser, the contents and the search field
// leave the key to their window).
void HelpWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier)
    close();
  else
    QWidget::keyPressEvent(event);
}

// The first time it opens, the help stands beside its dialog (on the side with more room,
// narrowed to that room but kept readable) so that both can be seen; later it stays where the
// user put it.
void HelpWindow::Present() {
  const QWidget* owner = parentWidget() != nullptr ? parentWidget()->window() : nullptr;
  if (!placed_ && owner != nullptr && owner->isVisible()) {
    placed_ = true;
    const QRect avail = owner->screen()->availableGeometry();
    const QRect beside = owner->frameGeometry();
    const int roomRight = avail.right() - beside.right();
    const int roomLeft = beside.left() - avail.left();
    const int width = std::min(avail.width(), std::max({std::min(900, std::max(roomRight, roomLeft)), 480}));
    const int height = std::min(avail.height(), 640);
    const int x = roomRight >= roomLeft ? beside.right() + 1 : beside.left() - width;
    const QSize decoration = owner->frameGeometry().size() - owner->size();  // assumed like the owner's
    resize(width - decoration.width(), height - decoration.height());
    move(std::clamp(x, avail.left(), avail.right() + 1 - width),
         std::clamp(beside.top(), avail.top(), avail.bottom() + 1 - height));
  }
  show();
  raise();
  activateWindow();
}

void HelpWindow::BuildContents() {
  sections_.clear();
  contents_->clear();
  const QTextDocument* doc = browser_->document();
  for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
    const int level = block.blockFormat().headingLevel();
    if (level < 1 || level > 3) continue;
    for (Section& open : sections_)
      if (open.end < 0 && open.level >= level) open.end = block.position();
    sections_.push_back({block.text().trimmed(), level, block.position(), -1});
  }
  for (Section& s : sections_)
    if (s.end < 0) s.end = doc->characterCount();
  // A heading hangs below the last heading of a higher level.
  std::vector<QTreeWidgetItem*> parents(4, nullptr);
  for (const Section& s : sections_) {
    QTreeWidgetItem* parent = nullptr;
    for (int l = s.level - 1; l >= 1 && parent == nullptr; --l) parent = parents[static_cast<size_t>(l)];
    auto* item = parent != nullptr ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(contents_);
    item->setText(0, s.title);
    item->setData(0, Qt::UserRole, s.start);
    parents[static_cast<size_t>(s.level)] = item;
    for (size_t l = static_cast<size_t>(s.level) + 1; l < parents.size(); ++l) parents[l] = nullptr;
  }
  contents_->expandAll();
}

// Only the sections whose text holds every word stay in the tree.
void HelpWindow::FilterContents(const QString& text) {
  const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
  const QString all = browser_->document()->toPlainText();
  QTreeWidgetItemIterator it(contents_);
  for (size_t i = 0; *it != nullptr && i < sections_.size(); ++it, ++i) {
    const QString body = all.mid(sections_[i].start, sections_[i].end - sections_[i].start);
    bool match = true;
    for (const QString& w : words) match = match && body.contains(w, Qt::CaseInsensitive);
    (*it)->setHidden(!match && (*it)->childCount() == 0);
  }
}

bool HelpWindow::FindNext() {
  const QString text = search_->text().trimmed();
  if (text.isEmpty()) return false;
  QTextCursor found = browser_->document()->find(text, browser_->textCursor());
  if (found.isNull()) found = browser_->document()->find(text, 0);
  if (found.isNull()) return false;
  browser_->setTextCursor(found);
  browser_->ensureCursorVisible();
  return true;
}

void HelpWindow::ScrollTo(int position, int length) {
  QTextCursor cursor(browser_->document());
  cursor.setPosition(position);
  cursor.setPosition(position + length, QTextCursor::KeepAnchor);
  browser_->setTextCursor(cursor);
  // The target at the top of the view rather than just inside it.
  browser_->verticalScrollBar()->setValue(browser_->verticalScrollBar()->maximum());
  browser_->ensureCursorVisible();
}

void HelpWindow::ShowContents() {
  ScrollTo(0, 0);
  Present();
}

void HelpWindow::ShowSearch(const QString& text) {
  if (!text.isEmpty()) search_->setText(text);
  Present();
  search_->setFocus();
  search_->selectAll();
}

bool HelpWindow::ShowTopic(const QString& settingKey) {
  Present();
  QTextDocument* doc = browser_->document();
  const auto flags = QTextDocument::FindCaseSensitively | QTextDocument::FindWholeWords;
  // The key's row is where the key is written as code.
  for (QTextCursor c = doc->find(settingKey, 0, flags); !settingKey.isEmpty() && !c.isNull();
       c = doc->find(settingKey, c, flags)) {
    if (c.charFormat().fontFixedPitch() || QFontInfo(c.charFormat().font()).fixedPitch()) {
      ScrollTo(c.selectionStart(), static_cast<int>(settingKey.size()));
      return true;
    }
  }
  ScrollTo(0, 0);
  return false;
}

bool HelpWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == parent() && (event->type() == QEvent::Hide || event->type() == QEvent::Close)) close();
  return QWidget::eventFilter(watched, event);
}

HelpWindow* HelpFor(QWidget* owner) {
  if (auto* existing = owner->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly)) return existing;
  return new HelpWindow(ManualPath(), owner);
}

void ShowHelpContents(QWidget* owner) { HelpFor(owner)->ShowContents(); }
void ShowHelpSearch(QWidget* owner) { HelpFor(owner)->ShowSearch(); }

void ShowHelpTopic(QWidget* owner, const QWidget* control) {
  const QString key = HelpKeyOf(control);
  if (key.isEmpty())
    ShowHelpContents(owner);
  else
    HelpFor(owner)->ShowTopic(key);
}

QString HelpKeyOf(const QWidget* control) {
  for (const QWidget* w = control; w != nullptr; w = w->parentWidget()) {
    QString property = w->property("helpKey").toString();
    if (!property.isEmpty()) return property;
    const std::string name = w->objectName().toStdString();
    if (name.empty()) continue;
    for (const SectionSpec& section : Catalogue())
      if (const KeySpec* key = FindKey(section.id, name))
        return QString::fromLatin1(key->key.data(), static_cast<int>(key->key.size()));
    if (w->isWindow()) break;
  }
  return {};
}

void InstallHelpKey(QWidget* dialog) {
  auto* f1 = new QShortcut(QKeySequence::HelpContents, dialog);
  f1->setContext(Qt::WindowShortcut);
  QObject::connect(f1, &QShortcut::activated, dialog, [dialog] { ShowHelpTopic(dialog, dialog->focusWidget()); });
}

}  // namespace qsrn
