// The program on a Linux desktop: its icon in the window and the About box, pictures on every
// picture button, captions that fit their buttons, panels and dialogs also with a large desktop
// font, the editor's fixed font when "Courier New" is missing, and the preview never taking the
// editor's own desktop entry for the browser.
#include "platform/Registry.h"
#include "support/DocumentFixture.h"
#include "ui/app/AboutBox.h"
#include "support/ScriptedPrompt.h"
#include "ui/custom/ButtonEditor.h"
#include "ui/dialogs/BodyColorsDialog.h"
#include "ui/dialogs/CellPropertiesDialog.h"
#include "ui/dialogs/DirectoryDialog.h"
#include "ui/dialogs/RuleDialog.h"
#include "ui/dialogs/NewDocumentDialog.h"
#include "ui/dialogs/PageBuilder.h"
#include "ui/dialogs/BlockDialog.h"
#include "ui/dialogs/TableDesigner.h"
#include "ui/dialogs/TableSourceView.h"
#include "ui/dialogs/ImageDialog.h"
#include "ui/dialogs/LinkDialog.h"
#include "ui/dialogs/FontDialog.h"
#include "ui/document/FindReplace.h"
#include "ui/document/IntelligentTagDialog.h"
#include "ui/editor/FixedFont.h"
#include "ui/settings/PreferencesDialog.h"

#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCheckBox>
#include <QFontDatabase>
#include <QFontInfo>
#include <QImage>
#include <QLineEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>

#include <functional>

namespace {

// How many pixels of an image are not transparent.
int OpaquePixels(const QImage &Image)
{
    int n = 0;
    for (int y = 0; y < Image.height(); ++y)
        for (int x = 0; x < Image.width(); ++x)
            if (qAlpha(Image.pixel(x, y)) > 0)
                ++n;
    return n;
}

QString Shown(const QString &Caption)
{
    QString shown;
    for (qsizetype i = 0; i < Caption.size(); ++i) {
        if (Caption[i] == '&' && i + 1 < Caption.size())
            ++i;
        shown += Caption[i];
    }
    return shown;
}

// The captions of a window's buttons, boxes and labels, and the numbers of its number fields, that
// are cut off: drawn in less room than their text needs. Word-wrapped labels and tool buttons
// showing a picture are left out.
QStringList ClippedCaptions(QWidget &Window)
{
    QStringList clipped;
    for (QWidget *w : Window.findChildren<QWidget *>()) {
        if (!w->isVisible() || w->objectName().startsWith("qt_"))
            continue;
        QString text;
        int room = 0;
        if (auto *tool = qobject_cast<QToolButton *>(w)) {
            if (tool->text().isEmpty() || !tool->icon().isNull())
                continue;
            text = Shown(tool->text());
            room = tool->contentsRect().width();
        } else if (auto *button = qobject_cast<QAbstractButton *>(w)) {
            if (button->text().isEmpty())
                continue;
            text = Shown(button->text());
            room = button->width() < button->minimumSizeHint().width() ? -1 : button->width();
        } else if (auto *spin = qobject_cast<QAbstractSpinBox *>(w)) {
            // A number field must show its value whole, here the widest it takes.
            auto *table = qobject_cast<TSpinEdit *>(spin);
            text = table ? QString::number(table->MaxValue) : spin->text();
            room = spin->findChild<QLineEdit *>()->contentsRect().width() - 4;
        } else if (auto *label = qobject_cast<QLabel *>(w)) {
            if (label->wordWrap() || label->text().isEmpty() || label->textFormat() == Qt::RichText)
                continue;
            text = label->buddy() ? Shown(label->text()) : label->text();
            room = label->contentsRect().width() - 2 * label->margin() - 2 * label->indent();
            if (label->frameWidth() == 0 && label->indent() < 0)
                room = label->contentsRect().width();
        } else {
            continue;
        }
        const QFontMetrics fm(w->font());
        const int needed = fm.horizontalAdvance(text);
        if (room < 0 || needed > room || fm.height() > w->height())
            clipped << QString("%1 \"%2\" (%3 of %4 x %5 pixels)")
                           .arg(w->objectName(), text)
                           .arg(room < 0 ? w->width() : room)
                           .arg(needed)
                           .arg(fm.height());
    }
    return clipped;
}

// Runs Check with the application's font made Factor times larger, then restores it.
void WithLargerFont(double Factor, const std::function<void()> &Check)
{
    const QFont old = QApplication::font();
    QFont big = old;
    if (big.pointSizeF() > 0)
        big.setPointSizeF(big.pointSizeF() * Factor);
    else
        big.setPixelSize(qRound(big.pixelSize() * Factor));
    QApplication::setFont(big);
    Check();
    QApplication::setFont(old);
}

} // namespace

using Desktop = DocumentTest;

TEST_F(Desktop, ProgramIconOnTheWindowAndInTheAboutBox)
{
    TMainForm &main = Start();
    const QIcon icon = main.windowIcon();
    ASSERT_FALSE(icon.isNull());
    for (int size : {16, 32, 48, 256}) {
        const QImage image = icon.pixmap(size).toImage();
        EXPECT_EQ(image.width(), size);
        EXPECT_GT(OpaquePixels(image), size * size / 3) << size;
    }
    // The About box shows the same picture.
    TAboutBoxSW about(&main);
    about.show();
    QCoreApplication::processEvents();
    const QImage shown = about.ProgramIconLabel->pixmap().toImage();
    EXPECT_EQ(shown, ProgramIconPixmap(48, about.devicePixelRatioF()).toImage());
    EXPECT_EQ(about.Version->text(), "Version 1.5f");
    // Drawn for a screen at 150 %, the icon has the pixels of that screen at the same logical size.
    const QPixmap sharp = ProgramIconPixmap(48, 1.5);
    EXPECT_EQ(sharp.width(), 72);
    EXPECT_EQ(sharp.deviceIndependentSize().toSize(), QSize(48, 48));
}

TEST_F(Desktop, EveryPictureButtonShowsItsOwnPicture)
{
    TMainForm &main = Start();
    QList<QImage> pictures;
    QStringList names;
    for (QToolButton *b : main.StandardPanel->findChildren<QToolButton *>()) {
        if (!b->text().isEmpty() || b->objectName().startsWith("qt_"))
            continue;
        names << b->objectName();
        ASSERT_FALSE(b->icon().isNull()) << b->objectName().toStdString();
        const QImage image = b->icon().pixmap(16).toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_GT(OpaquePixels(image), 20) << b->objectName().toStdString() << " shows an empty picture";
        EXPECT_FALSE(b->toolTip().isEmpty()) << b->objectName().toStdString();
        for (int i = 0; i < pictures.size(); ++i)
            EXPECT_NE(image, pictures[i]) << b->objectName().toStdString() << " looks like " << names[i].toStdString();
        pictures << image;
    }
    EXPECT_EQ(names, (QStringList{"NewBtn", "OpenBtn", "SaveBtn", "CutButton", "CopyButton", "PasteButton",
                                  "UndoButton", "ExitBtn"}));
}

TEST_F(Desktop, CaptionsFitTheirButtonsPanelsAndDialogsAlsoWithALargeFont)
{
    for (double factor : {1.0, 1.5}) {
        WithLargerFont(factor, [&] {
            TMainForm &main = Start();
            TMDIChild *doc = NewDocument();
            ASSERT_NE(doc, nullptr);
            doc->Editor->SetModified(true);
            main.UpdateMenuItems();
            QCoreApplication::processEvents();
            // The status panels with their longest texts.
            main.ModifiedPanel->setText("Modified");
            main.UnixPanel->setText("Unix File");
            main.LineColPanel->setText("12345:678");
            EXPECT_EQ(ClippedCaptions(main), QStringList()) << "main window, font x" << factor;

            std::vector<std::unique_ptr<QDialog>> dialogs;
            dialogs.push_back(std::make_unique<TInsertImageBox>(&main));
            dialogs.push_back(std::make_unique<TInsertURLBox>(&main));
            const TCustButton button{"Signature", "<ADDRESS>", "</ADDRESS>", 1};
            dialogs.push_back(std::make_unique<TCustomButtonEditor>(button, &main));
            dialogs.push_back(std::make_unique<TCellProperty>(&main));
            dialogs.push_back(std::make_unique<TTablePreview>(&main));
            dialogs.push_back(std::make_unique<TDirectoryDialog>(&main));
            dialogs.push_back(std::make_unique<TReplaceDialog>(&main));
            dialogs.push_back(std::make_unique<TAboutBoxSW>(&main));
            dialogs.push_back(std::make_unique<TTBackgroundBox>(&main));
            dialogs.push_back(std::make_unique<THRBox>(&main));
            dialogs.push_back(std::make_unique<TPBox>("Heading Style 1", "H1", &main));
            dialogs.push_back(std::make_unique<TFontDlg>(&main));
            dialogs.push_back(std::make_unique<TTableDlg>(&main));
            dialogs.push_back(std::make_unique<TPageWizDlg>(&main, &main));
            dialogs.push_back(std::make_unique<TNewDocDlg>(&main));
            dialogs.push_back(std::make_unique<TIntelliTagDlg>(&main));
            auto prefs = std::make_unique<TTabbedNotebookDlg>(main, &main);
            QTabWidget *pages = prefs->TabbedNotebook1;
            dialogs.push_back(std::move(prefs));
            for (auto &d : dialogs) {
                d->show();
                QCoreApplication::processEvents();
                EXPECT_EQ(ClippedCaptions(*d), QStringList()) << d->windowTitle().toStdString() << ", font x" << factor;
            }
            for (int i = 1; i < pages->count(); ++i) {
                pages->setCurrentIndex(i);
                QCoreApplication::processEvents();
                EXPECT_EQ(ClippedCaptions(*pages->window()), QStringList())
                    << "Preferences page " << i << ", font x" << factor;
            }
            dialogs.clear();
            for (QMdiSubWindow *sub : main.MDIClient->subWindowList())
                if (auto *d = dynamic_cast<TMDIChild *>(sub))
                    d->Editor->SetModified(false);
            Stop();
        });
    }
}

TEST_F(Desktop, EditorFontFallsBackToTheSystemFixedFontWithoutCourierNew)
{
    const bool courier = TEdFixedFont::FixedFamilies().contains("Courier New");
    // No settings file: the face is "Courier New" at 12 pixels.
    TMDIChild *doc = NewDocument();
    ASSERT_NE(doc, nullptr);
    const QFont used = doc->Editor->FixedFont().Font();
    EXPECT_EQ(used.pixelSize(), 12);
    EXPECT_TRUE(TEdFixedFont::IsFixedPitch(used)) << used.family().toStdString();
    if (courier)
        EXPECT_EQ(used.family(), "Courier New");
    else
        EXPECT_EQ(used.family(), TEdFixedFont::SystemFixedFont(used).family()) << "not the system's fixed font";
    // What is drawn really has one width for every character.
    const QFontMetrics fm(used);
    EXPECT_EQ(fm.horizontalAdvance("iiiii"), fm.horizontalAdvance("WWWWW"));
    Stop();

    // A face that is not installed, or a proportional one, from the settings: the fixed font at the
    // stored height, bold as stored.
    for (const char *face : {"No Such Face 1996", "DejaVu Sans"}) {
        if (TEdFixedFont::FixedFamilies().contains(face))
            continue;
        Setting("Font", "Name", face);
        Setting("Font", "Size", "-17");
        Setting("Font", "Bold", "1");
        TMDIChild *other = NewDocument();
        ASSERT_NE(other, nullptr);
        const QFont f = other->Editor->FixedFont().Font();
        EXPECT_NE(f.family(), face);
        EXPECT_TRUE(TEdFixedFont::IsFixedPitch(f)) << face;
        EXPECT_EQ(f.pixelSize(), 17) << face;
        EXPECT_TRUE(f.bold()) << face;
        Stop();
    }
}

TEST(DesktopPreview, TheEditorsOwnDesktopEntryIsNeverTheBrowser)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    const QByteArray oldData = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    QDir(home.path()).mkpath("applications");
    auto write = [&](const QString &Name, const QByteArray &Text) {
        QFile f(home.path() + "/applications/" + Name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(Text);
    };
    write("pelmar32.desktop", "[Desktop Entry]\nType=Application\nName=Pelmar32\nExec=pelmar32 %F\n");
    write("webby.desktop", "[Desktop Entry]\nType=Application\nName=Webby\nExec=webby --new-tab %u\n");

    EXPECT_EQ(HtmlOpenCommandForHandler("webby.desktop"), "webby --new-tab \"%1\"");
    const QString own = HtmlOpenCommandForHandler("pelmar32.desktop");
    EXPECT_FALSE(own.contains("pelmar32")) << own.toStdString();
    EXPECT_EQ(own, QStandardPaths::findExecutable("x-www-browser").isEmpty() ? "xdg-open %1" : "x-www-browser %1");
    EXPECT_EQ(HtmlOpenCommandForHandler(""), "xdg-open %1");
    EXPECT_EQ(HtmlOpenCommandForHandler("missing.desktop"), "xdg-open %1");
    qputenv("XDG_DATA_HOME", oldData);
}
