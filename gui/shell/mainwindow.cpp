#include "mainwindow.h"
#include "ui_mainwindow.h"

#include "filedialogs.h"
#include "initialwidget.h"
#include "resizewidget.h"
#include "settingswindow.h"
#include "startsplash.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMessageBox>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>
#include <utility>

namespace {

// Set at build time; empty means the pages shipped in the program folder are opened instead.
const QString webAddress = QStringLiteral(BRINDLE_WEB_ADDRESS);

QUrl shippedPage(const QString &webPath, const QString &localFile)
{
    if (webAddress.isEmpty())
        return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + QLatin1Char('/') + localFile);
    QUrl base(webAddress.endsWith(QLatin1Char('/')) ? webAddress : webAddress + QLatin1Char('/'));
    return base.resolved(QUrl(webPath));
}

QString homePageCaption()
{
    return webAddress.isEmpty() ? QStringLiteral("Brindle home page") : QUrl(webAddress).host();
}

} // namespace

MainWindow::MainWindow(CSettings *settings, QWidget *parent)
    : QWidget(parent, Qt::FramelessWindowHint)
    , ui(new Ui::MainWindow)
    , loadingWindow(this, Qt::WindowFlags())
    , settings(settings)
{
    ui->setupUi(this);
    ui->pbTamarind->setText(homePageCaption());
    ui->wMain->setCurrentIndex(-1);
    setAttribute(Qt::WA_TranslucentBackground);

    connect(ui->pbMinimize, &QPushButton::clicked, this, &MainWindow::showMinimized);
    connect(ui->pbClose, &QPushButton::clicked, this, &MainWindow::close);
    connect(ui->pbAddImage, &QPushButton::clicked, this, &MainWindow::addImages);
    connect(ui->pbAddFolder, &QPushButton::clicked, this, &MainWindow::addFolder);
    connect(ui->pbSettings, &QPushButton::clicked, this, &MainWindow::showSettings);
    connect(&imagesModel, &CImagesModel::imagesIsOpening, this, &MainWindow::onImagesIsOpening);
    connect(&imagesModel, &CImagesModel::rowsCountChanged, this, &MainWindow::onRowsCountChanged);
    connect(&imagesModel, &CImagesModel::imagesLeftOut, this, &MainWindow::showLeftOut);
    connect(&imagesModel, &CImagesModel::openingProgress, &loadingWindow, &LoadingWindow::setProgress);
    connect(&loadingWindow, &LoadingWindow::cancelRequested, &imagesModel, &CImagesModel::cancelOpening);
    connect(ui->tbOpenLastFolder, &QToolButton::clicked, this, &MainWindow::onLastFolderClicked);
    connect(ui->pbOpenFolder, &QPushButton::clicked, this, &MainWindow::onLastFolderClicked);
    connect(ui->pbHelp, &QPushButton::clicked, this, &MainWindow::help);
    connect(ui->pbTamarind, &QPushButton::clicked, this, &MainWindow::tamarind);

    resizeWidget = new ResizeWidget(settings, &imagesModel, ui->wMain);
    connect(resizeWidget, &ResizeWidget::resizeStatusChanged, this, &MainWindow::onResizeStatusChanged);
    ui->wMain->addWidget(new InitialWidget(this, ui->wMain));
    ui->wMain->addWidget(resizeWidget);

    // Before the veil exists: the veil and the panel on it must be neither drop targets nor filtered.
    acceptDropsEverywhere();
    createSettingsPanel(settings);
}

MainWindow::~MainWindow()
{
    delete ui;
}

void MainWindow::acceptDropsEverywhere()
{
    const QWidgetList widgets = QApplication::allWidgets();
    for (QWidget *widget : widgets) {
        widget->setAcceptDrops(true);
        widget->installEventFilter(this);
    }
}

void MainWindow::createSettingsPanel(CSettings *settings)
{
    auto *veil = new QFrame(ui->wBody);
    veil->setObjectName(QStringLiteral("wShadow"));
    veil->setGeometry(QRect(QPoint(0, 0), ui->wBody->size()));
    veil->setStyleSheet(QStringLiteral("#wShadow{background-color: rgba(217, 213, 205, 0.6);}"));
    veil->hide();
    settingsWindow = new SettingsWindow(settings, veil);
    connect(settingsWindow, &SettingsWindow::saved, resizeWidget, &ResizeWidget::followSettings);
}

QStringList MainWindow::listFolderFiles(const QString &folder)
{
    const QDir dir(folder);
    const QStringList names = dir.entryList(QDir::Files, QDir::NoSort);
    QStringList paths;
    paths.reserve(names.size());
    for (const QString &name : names)
        paths.append(dir.absoluteFilePath(name));
    return paths;
}

bool MainWindow::dropsRefused() const
{
    // The queue takes no second list while it opens one, so a drop then is refused as during a run.
    return resizeWidget->isResizing() || imagesModel.isOpening();
}

QStringList MainWindow::droppedPaths(const QDropEvent *event) const
{
    QStringList paths;
    const QList<QUrl> urls = event->mimeData()->urls();
    for (const QUrl &url : urls)
        paths.append(url.toLocalFile());
    return paths;
}

void MainWindow::queuePaths(const QStringList &paths)
{
    if (dropsRefused()) {
        waitingPaths.append(paths);
        return;
    }
    QStringList files;
    for (const QString &path : paths) {
        if (QDir(path).exists())
            files.append(listFolderFiles(path));
        else
            files.append(path);
    }
    imagesModel.openImages(files);
}

void MainWindow::queueWaitingPaths()
{
    if (!waitingPaths.isEmpty() && !dropsRefused())
        queuePaths(std::exchange(waitingPaths, QStringList()));
}

void MainWindow::takeHandedPaths(const QStringList &paths)
{
    setWindowState(windowState() & ~Qt::WindowMinimized);
    show();
    raise();
    activateWindow();
    queuePaths(paths);
}

bool MainWindow::eventFilter(QObject *watched, QEvent *event)
{
    Q_UNUSED(watched)
    // Never consumes: the event always goes on to its target.
    if (dropsRefused())
        return false;
    if (event->type() == QEvent::DragEnter) {
        auto *dragEvent = static_cast<QDragEnterEvent *>(event);
        dragEvent->setDropAction(Qt::LinkAction);
        dragEvent->accept();
    } else if (event->type() == QEvent::Drop) {
        auto *dropEvent = static_cast<QDropEvent *>(event);
        const QStringList paths = droppedPaths(dropEvent);
        dropEvent->accept();
        queuePaths(paths);
    }
    return false;
}

void MainWindow::addImages()
{
    const QStringList paths = FileDialogs::chooseImages(
        this, settings, tr("t_choose_file"), tr("t_images (*.jpeg *.jpg *.gif *.png *.bmp *.tiff)"));
    if (!paths.isEmpty())
        queuePaths(paths);
}

void MainWindow::addFolder()
{
    const QString folder = FileDialogs::chooseFolder(this, settings, tr("t_choose_images_dir"));
    if (!folder.isNull())
        queuePaths({folder});
}

void MainWindow::onRowsCountChanged(int rowCount)
{
    ui->wMain->setCurrentIndex(rowCount > 0 ? 1 : 0);
}

void MainWindow::onImagesIsOpening(bool isOpening)
{
    setEnabled(!isOpening);
    if (isOpening) {
        // A window of its own, enabled against its disabled parent so that its cancel button works.
        loadingWindow.setEnabled(true);
        loadingWindow.show();
    } else {
        loadingWindow.close();
        // Later: the queue is still inside its report of the end.
        QTimer::singleShot(0, this, &MainWindow::queueWaitingPaths);
    }
}

void MainWindow::showLeftOut(const QStringList &files)
{
    // A folder of thousands of odd files must still give a box that fits on the screen.
    const int shown = 10;
    QStringList lines = files.mid(0, shown);
    if (files.size() > shown)
        lines.append(tr("w_left_out_more %1").arg(files.size() - shown));
    // Not exec(): the queue goes on being usable while the box is up.
    auto *box = new QMessageBox(QMessageBox::Warning, tr("t_left_out"),
                                tr("w_left_out %1").arg(lines.join('\n')), QMessageBox::Ok, this);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
}

void MainWindow::onLastFolderClicked()
{
    // Before the first run there is no output folder, and a file browser on some arbitrary folder helps
    // nobody.
    const QString lastPath = imagesModel.lastResizedPath();
    if (lastPath.isEmpty())
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(QFileInfo(lastPath).absoluteDir().path()));
}

void MainWindow::showSettings()
{
    settingsWindow->startShowAnimation();
}

void MainWindow::help()
{
    QDesktopServices::openUrl(
        shippedPage(QStringLiteral("Manuals/Brindle/"), QStringLiteral("Manuals/Brindle/index.html")));
}

void MainWindow::tamarind()
{
    QDesktopServices::openUrl(shippedPage(QString(), QStringLiteral("index.html")));
}

void MainWindow::onResizeStatusChanged(bool isResizing)
{
    ui->pbAddFolder->setEnabled(!isResizing);
    ui->pbAddImage->setEnabled(!isResizing);
    ui->pbSettings->setEnabled(!isResizing);
    if (!isResizing)
        QTimer::singleShot(0, this, &MainWindow::queueWaitingPaths);
}

void MainWindow::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    dragging = true;
    dragOffset = event->globalPos() - frameGeometry().topLeft();
}

void MainWindow::mouseReleaseEvent(QMouseEvent *event)
{
    QWidget::mouseReleaseEvent(event);
    dragging = false;
}

void MainWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (dragging && event->buttons().testFlag(Qt::LeftButton))
        move(event->globalPos() - dragOffset);
    QWidget::mouseMoveEvent(event);
}

void MainWindow::showEvent(QShowEvent *event)
{
    // A start-up splash only: restoring the minimised window shows it again and must not block for seconds.
    if (!splashShown) {
        splashShown = true;
        StartSplash splash(3000);
        splash.exec();
    }
    QWidget::showEvent(event);
    activateWindow();
}

void MainWindow::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LanguageChange) {
        ui->retranslateUi(this);
        ui->pbTamarind->setText(homePageCaption());
    }
    QWidget::changeEvent(event);
}
