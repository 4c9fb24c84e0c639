#pragma once
// The print preview window 工资MSGPRINT: menus, status bar, help lines and the movable page picture
// around a PrintPreviewDriver, which holds everything the window shows and does.
#include <QMainWindow>
#include <QPointer>
#include <array>
#include <functional>
#include <map>

class QAction;
class QLabel;
class QMenu;

namespace slp::print {

class PagePicture;
class PictureCanvas;
class PrintPreviewDriver;

class PrintPreviewWindow : public QMainWindow {
    Q_OBJECT

  public:
    struct Hooks {
        // The printer setup dialog for the current printer (a click on the first status panel).
        std::function<void(QWidget* parent)> printerSetup;
        // The window is closing, after the settings were written.
        std::function<void()> closed;
    };

    // The zoom steps, in percent of the screen scale (15 twips a pixel).
    static constexpr std::array<int, 9> kZoomSteps{50, 67, 75, 100, 125, 150, 200, 300, 400};

    PrintPreviewWindow(PrintPreviewDriver& driver, PictureCanvas& canvas, Hooks hooks,
                       QWidget* parent = nullptr);

    // The opening steps the window itself takes: full screen size at the top left corner, caption
    // printTitle, the picture at 0, 0. Call after the driver's open().
    void placeForOpening();
    // The window's frame at the top left corner of its screen, the screen's size; again after showing,
    // when the frame is known.
    void fitToScreen();
    void fitPageToWindow();
    // The printer panel (printer, PDF folder, paper, orientation), then the page laid out again.
    void choosePrinter();
    // Shows the driver's state: menu captions, check marks and visibility, status texts, the picture.
    void refresh();

    QAction* action(const QString& objectName) const;
    QLabel* statusPanel(int index) const;  // 1 to 4
    PagePicture* picture() const { return picture_; }
    int zoomPercent() const { return kZoomSteps[zoomStep_]; }
    // One step nearer or farther; the page is drawn again at the new scale.
    void zoom(int steps);
    // What the zoom menu and the picture's tip say about zooming, paging and moving the page.
    static QStringList zoomHints();

  protected:
    void closeEvent(QCloseEvent* event) override;
    // The first showing covers the free screen again, now that the frame is known.
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool shown_ = false;
    void buildMenus();
    void buildStatusBar();
    void buildKeys();
    QAction* addAction(QMenu* menu, const QString& name, std::function<void()> handler);
    void run(const std::function<void()>& handler);
    void sizePanels();
    void showPicture();
    void showZoom();

    PrintPreviewDriver& driver_;
    PictureCanvas& canvas_;
    Hooks hooks_;
    std::map<QString, QAction*> actions_;
    std::array<QLabel*, 4> panels_{};
    PagePicture* picture_ = nullptr;  // a child of the background
    QMenu* setMenu_ = nullptr;
    QMenu* printSetMenu_ = nullptr;
    QMenu* zoomMenu_ = nullptr;  // its title shows the zoom in percent
    size_t zoomStep_ = 3;        // 100 percent
    bool closing_ = false;
};

}  // namespace slp::print
