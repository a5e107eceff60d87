// Small helpers shared by the windows: twips, placement on the screen, text conversion and the
// look of the locked result fields.
#pragma once

#include <string>
#include <string_view>

#include <QColor>
#include <QString>

class QByteArray;
class QLineEdit;
class QPainter;
class QPointF;
class QPushButton;
class QWidget;

namespace tarvelo::ui {

// The section drawing and the report preview measure in twips; the screen has 15 twips per
// pixel.
inline constexpr int kTwipsPerPixel = 15;

// Light cyan of the locked result fields.
inline QColor ResultFieldColour() {
    return QColor(192, 255, 255);
}
// Light blue of the splash and exit windows.
inline QColor SplashColour() {
    return QColor(128, 128, 255);
}

inline QString ToQ(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string FromQ(const QString& text) {
    return text.toUtf8().toStdString();
}

// Registers the program's icons and help text (they live in a static library).
void InitResources();

// Installs Qt's own Brazilian Portuguese translations (qtbase_pt_BR from the Qt translations
// folder), whatever the machine's locale, so the standard buttons, file and print dialogs and
// context menus speak the program's language; Brazilian Portuguese becomes the default locale
// of Qt's dialogs. False when the translation file is missing.
bool InstallQtTranslations();

// Gives a window the client size of its design in pixels, or more when the fonts of this system
// need it.
void SetClientSize(QWidget* window, int width, int height);

// (screen width - window width) / 2 and (screen height - window height) / 2.
void CentreOnScreen(QWidget* window);

// Centres a window the first time it is shown; later the user's placement stays.
void CentreOnFirstShow(QWidget* window);

// Places a window beside its owner, where it covers none of the owner: to its right, else to its
// left, else below or above it. When no side has room, a window that may be narrowed is narrowed
// to the wider side's room (never below its minimum width), and goes to that side's screen edge.
void PlaceBeside(QWidget* window, const QWidget* owner);

// Shows a window in front of its owner and keeps it there (the window manager treats it as a
// transient of the owner), without making it a child: disabling the owner must not disable it.
void ShowInFront(QWidget* window, QWidget* owner);

// A text field that shows its text centred and accepts at most maxLength characters.
void SetUpField(QLineEdit* field, int maxLength);

// A locked result field: centred, read-only, light cyan.
void SetUpResultField(QLineEdit* field);

// A command button with its object name and tool tip that never takes Return as default.
QPushButton* CommandButton(const QString& name, const QString& caption, const QString& tip);

// A filled arrowhead in the pen's colour with its tip at `tip`, pointing away from `from`;
// `halfWidth` is the half width of its base as a fraction of its length `size`.
void Arrowhead(QPainter& p, const QPointF& tip, const QPointF& from, double size, double halfWidth);

// Writes a whole file through a temporary file that replaces the target only when complete,
// so a failed write never destroys the previous file. On failure `error` says why.
bool SaveFileAtomically(const QString& path, const QByteArray& bytes, QString& error);

}  // namespace tarvelo::ui
