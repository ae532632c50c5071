// Browser preview: the Test HTML Document and Update Viewer commands.
#include "ui/app/Preview.h"

#include "core/editor/Recovery.h"

#include "core/markup/PreviewFile.h"
#include "core/settings/Profile.h"
#include "core/settings/SetupManager.h"
#include "core/settings/SetupRules.h"
#include "platform/Dde.h"
#include "platform/Launch.h"
#include "platform/Prompt.h"
#include "platform/Registry.h"
#include "platform/TextCodec.h"
#include "ui/app/MainWindow.h"
#include "ui/document/DocumentWindow.h"
#include "ui/editor/MarkupEditor.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>

namespace {

constexpr const char *kNotConfigured = "Test program not configured.  Choose Options|Preferences...";

QByteArray Bytes(const std::string &Text)
{
    return QByteArray(Text.data(), qsizetype(Text.size()));
}

} // namespace

TBrowserPreview::TBrowserPreview(TMainForm &Main) : QObject(&Main), Main(Main)
{
    setObjectName("BrowserPreview");
}

TBrowserPreview *ConnectPreviewCommands(TMainForm &Main)
{
    auto *preview = new TBrowserPreview(Main);
    QObject::connect(Main.TestHTMLDocument1, &QAction::triggered, preview,
                     [preview] { Guarded([preview] { preview->TestButtonClick(); }); });
    QObject::connect(Main.UpdateViewer1, &QAction::triggered, preview,
                     [preview] { Guarded([preview] { preview->UpdateViewer1Click(); }); });
    return preview;
}

TBrowserPreview *BrowserPreview(const TMainForm &Main)
{
    return Main.findChild<TBrowserPreview *>("BrowserPreview", Qt::FindDirectChildrenOnly);
}

QString TBrowserPreview::WritePreviewFile(TMDIChild &Doc)
{
    ++PreviewCounter;
    const std::string dir = PreviewDirectory(TEdCustomTextFileEditor::FileNameBytes(Doc.DocumentCaption()),
                                             WorkingDirectory());
    const QString fullName =
        QFileInfo(QFile::decodeName(QByteArray::fromStdString(dir + PreviewFileName(PreviewCounter))))
            .absoluteFilePath();
    // Written from the text itself: the document keeps its file name and its Modified flag.
    const TParaList &paras = Doc.Editor->ParaList();
    ::WritePreviewFile(TEdCustomTextFileEditor::FileNameBytes(fullName), paras.ParaCount(),
                       [&paras](int Para) { return paras.ParaText(Para); },
                       paras.Encoding() == TTextEncoding::Utf8Bom);
    Main.PreviewFiles << fullName;
    // Listed on disk too, so that the next run deletes it should this one be killed.
    TPreviewFileList().Add(TEdCustomTextFileEditor::FileNameBytes(fullName));
    return fullName;
}

void TBrowserPreview::TestButtonClick()
{
    const std::string progPath = Main.SetupManager ? Main.SetupManager->ProgPath() : std::string();
    if (progPath.empty()) {
        ShowError(kNotConfigured);
        return;
    }
    TMDIChild *doc = dynamic_cast<TMDIChild *>(Main.ActiveDocument());
    if (!doc)
        return;
    const QString fullName = WritePreviewFile(*doc);
    switch (BrowserChoiceOf(progPath)) {
    case TBrowserChoice::IExplore:
        PreviewByDde(kIExploreProgPath, false, fullName);
        break;
    case TBrowserChoice::Netscape:
        PreviewByDde(kNetscapeProgPath, true, fullName);
        break;
    case TBrowserChoice::Other: {
        const QString url = QString::fromStdString(FileUrlForm(TEdCustomTextFileEditor::FileNameBytes(fullName)));
        const QString command = BytesToQString(progPath);
        if (!LaunchAppending(command, url))
            ShowError("Error running " + command);
        break;
    }
    }
}

void TBrowserPreview::PreviewByDde(const QString &Service, bool Request, const QString &FullName)
{
    const std::unique_ptr<TDdeConversation> dde = NewDdeConversation();
    auto send = [&](const std::string &Data) {
        return Request ? dde->Request(Bytes(Data)) : dde->Execute(Bytes(Data));
    };
    if (dde->OpenLink(Service, "WWW_OpenURL")) {
        const std::string open =
            Request ? NetscapeOpenURLData(FileUrlForm(TEdCustomTextFileEditor::FileNameBytes(FullName)))
                    : IExploreOpenURLData(QStringToBytes(FullName));
        send(open);
        dde->CloseLink();
        if (dde->OpenLink(Service, "WWW_Activate")) {
            send(kPreviewActivateData);
            dde->CloseLink();
        }
        return;
    }
    std::string classKey;
    {
        const TProfile settings(SettingsFileName());
        classKey = Request ? settings.ReadString("Setup", "NetscapeRegistryKey", "NetscapeMarkup")
                           : settings.ReadString("Setup", "IExploreRegistryKey", "htmlfile");
    }
    const QString command = ReadClassesRootDefault(BytesToQString(classKey) + "\\shell\\open\\command");
    if (!LaunchWithFile(command, FullName))
        ShowError("Error running " + command);
}

void TBrowserPreview::UpdateViewer1Click()
{
    if (!dynamic_cast<TMDIChild *>(Main.ActiveDocument()))
        return;
    Main.UpdateMenuItems();
    if (Main.FileSaveItem->isEnabled())
        Main.FileSaveItem->trigger();
}
