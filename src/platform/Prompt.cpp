// The Qt implementation of the prompt interface and the standard error report.
#include "platform/Prompt.h"

#include "platform/DialogExec.h"
#include "platform/Help.h"
#include "platform/TextCodec.h"

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QFontInfo>
#include <QGroupBox>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>

#include <algorithm>
#include <cstdlib>

namespace {

// The installed style of a face nearest to the weight and slant asked for. The face found for
// each style says what it is: a style's name ("Book", "Oblique") need not.
QString StyleFor(const QString &Family, bool Bold, bool Italic)
{
    QString best;
    int bestScore = 0;
    for (const QString &style : QFontDatabase::styles(Family)) {
        const QFontInfo face(QFontDatabase::font(Family, style, 12));
        const int score = std::abs(face.weight() - (Bold ? QFont::Bold : QFont::Normal)) +
                          (face.italic() != Italic ? 10000 : 0);
        if (best.isEmpty() || score < bestScore) {
            best = style;
            bestScore = score;
        }
    }
    return best;
}

QWidget *DialogParent()
{
    return QApplication::activeWindow();
}

// The open and save dialogs: title, filter and start as requested, and, where the toolkit draws
// the dialog itself, a Help button that opens the request's help context.
bool RunFileDialog(TFileDialogRequest &R, QFileDialog::AcceptMode Mode)
{
    const QString filter = ConvertFilter(R.Filter);
    const QStringList filters = filter.split(";;");
    QFileDialog dialog(DialogParent(), R.Title, QString(), filter);
    dialog.setAcceptMode(Mode);
    if (Mode == QFileDialog::AcceptSave)
        dialog.setFileMode(QFileDialog::AnyFile);
    else
        dialog.setFileMode(R.MultiSelect ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (Mode == QFileDialog::AcceptSave && !R.OverwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (R.FilterIndex >= 1 && R.FilterIndex <= filters.size())
        dialog.selectNameFilter(filters.at(R.FilterIndex - 1));
    const QString start = R.InitialDir.isEmpty() ? R.FileName : QDir(R.InitialDir).filePath(R.FileName);
    if (!start.isEmpty()) {
        const QFileInfo info(start);
        if (info.isDir()) {
            dialog.setDirectory(start);
        } else {
            if (start.contains('/'))
                dialog.setDirectory(info.path());
            dialog.selectFile(info.fileName());
        }
    }
    if (R.HelpContext != 0) {
        if (auto *buttons = dialog.findChild<QDialogButtonBox *>()) {
            QPushButton *help = buttons->addButton(QDialogButtonBox::Help);
            help->setObjectName("HelpButton");
            const int context = R.HelpContext;
            QObject::connect(help, &QPushButton::clicked, &dialog, [context] { Help().ShowContext(context); });
        }
    }
    if (ExecDialog(dialog) != QDialog::Accepted)
        return false;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty() || files.first().isEmpty())
        return false;
    R.FileName = files.first();
    R.Files = R.MultiSelect && Mode == QFileDialog::AcceptOpen ? files : QStringList{files.first()};
    R.FilterIndex = int(filters.indexOf(dialog.selectedNameFilter())) + 1;
    return true;
}

class TQtPrompt final : public TPrompt {
public:
    TModalResult MessageDlg(const QString &Msg, TMsgDlgType Type, TMsgDlgButtons Buttons, int,
                            const QString &Caption) override
    {
        QMessageBox box(DialogParent());
        QString title = Caption;
        if (title.isEmpty()) {
            switch (Type) {
            case TMsgDlgType::mtWarning: title = "Warning"; break;
            case TMsgDlgType::mtError: title = "Error"; break;
            case TMsgDlgType::mtInformation: title = "Information"; break;
            case TMsgDlgType::mtConfirmation: title = "Confirm"; break;
            default: title = QApplication::applicationDisplayName(); break;
            }
        }
        box.setWindowTitle(title);
        QString text = Msg;
        text.replace("&&", "&");
        // Messages quote tags and search texts: they must never be read as markup.
        box.setTextFormat(Qt::PlainText);
        box.setText(text);
        switch (Type) {
        case TMsgDlgType::mtWarning: box.setIcon(QMessageBox::Warning); break;
        case TMsgDlgType::mtError: box.setIcon(QMessageBox::Critical); break;
        case TMsgDlgType::mtInformation: box.setIcon(QMessageBox::Information); break;
        case TMsgDlgType::mtConfirmation: box.setIcon(QMessageBox::Question); break;
        default: break;
        }
        struct B { unsigned bit; const char *text; QMessageBox::ButtonRole role; TModalResult result; };
        const B buttons[] = {
            {mbYes, "&Yes", QMessageBox::YesRole, mrYes}, {mbNo, "&No", QMessageBox::NoRole, mrNo},
            {mbOK, "OK", QMessageBox::AcceptRole, mrOk}, {mbCancel, "Cancel", QMessageBox::RejectRole, mrCancel},
            {mbAbort, "&Abort", QMessageBox::RejectRole, mrAbort}, {mbRetry, "&Retry", QMessageBox::AcceptRole, mrRetry},
            {mbIgnore, "&Ignore", QMessageBox::AcceptRole, mrIgnore}, {mbAll, "&All", QMessageBox::YesRole, mrAll},
        };
        std::vector<std::pair<QAbstractButton *, TModalResult>> made;
        for (const B &b : buttons)
            if (Buttons & b.bit)
                made.emplace_back(box.addButton(QString::fromLatin1(b.text), b.role), b.result);
        if (made.empty())
            made.emplace_back(box.addButton("OK", QMessageBox::AcceptRole), mrOk);
        ExecDialog(box);
        for (auto &[button, result] : made)
            if (box.clickedButton() == button)
                return result;
        return (Buttons & mbCancel) ? mrCancel : (Buttons & mbNo) ? mrNo : mrOk;
    }

    bool InputQuery(const QString &Caption, const QString &PromptText, QString &Value) override
    {
        QInputDialog dialog(DialogParent());
        dialog.setWindowTitle(Caption);
        dialog.setInputMode(QInputDialog::TextInput);
        dialog.setLabelText(PromptText);
        dialog.setTextValue(Value);
        for (QLabel *label : dialog.findChildren<QLabel *>())
            label->setTextFormat(Qt::PlainText);
        if (ExecDialog(dialog) != QDialog::Accepted)
            return false;
        Value = dialog.textValue();
        return true;
    }

    bool OpenFile(TFileDialogRequest &R) override { return RunFileDialog(R, QFileDialog::AcceptOpen); }

    // The callers ask their own overwrite question where the system has one.
    bool SaveFile(TFileDialogRequest &R) override { return RunFileDialog(R, QFileDialog::AcceptSave); }

    bool ChooseFont(TFontRequest &F) override
    {
        // The dialog starts on a face it lists (else it would fall on its first face's first
        // style, an oblique one as like as not): the one asked for, else the system's fixed
        // face that the editor shows for a missing one, else the first listed; and in the style
        // that is as bold and italic as asked.
        const QStringList families = QFontDatabase::families();
        auto listed = [&](const QString &Family) {
            return families.contains(Family) && (!F.FixedPitchOnly || QFontDatabase::isFixedPitch(Family));
        };
        QString family = F.Name;
        if (!listed(family))
            family = QFontInfo(QFontDatabase::systemFont(QFontDatabase::FixedFont)).family();
        if (!listed(family)) {
            const auto first = std::find_if(families.begin(), families.end(), listed);
            if (first != families.end())
                family = *first;
        }
        QFont initial(family);
        initial.setPixelSize(F.Height < 0 ? -F.Height : (F.Height > 0 ? F.Height : 12));
        initial.setStyleName(StyleFor(family, F.Bold, F.Italic));
        QFontDialog dialog(DialogParent());
        dialog.setWindowTitle("Font");
        dialog.setOptions(QFontDialog::DontUseNativeDialog |
                          (F.FixedPitchOnly ? QFontDialog::MonospacedFonts : QFontDialog::FontDialogOptions()));
        dialog.setCurrentFont(initial);
        // Only face, style and size are kept: strike-out and underline are not offered.
        for (QCheckBox *effect : dialog.findChildren<QCheckBox *>()) {
            if (auto *group = qobject_cast<QGroupBox *>(effect->parentWidget()))
                group->hide();
            effect->hide();
        }
        const QFont shown = dialog.currentFont();
        if (ExecDialog(dialog) != QDialog::Accepted)
            return false;
        const QFont font = dialog.currentFont();
        // Accepted unchanged: the request stays as it was, a missing face's name included.
        if (font.family() == shown.family() && font.styleName() == shown.styleName() &&
            font.pointSizeF() == shown.pointSizeF())
            return true;
        F.Name = font.family();
        F.Height = -(font.pixelSize() > 0 ? font.pixelSize() : QFontInfo(font).pixelSize());
        // Bold and italic follow the face of the style chosen, whatever its name.
        const QFontInfo face(font);
        F.Bold = face.bold();
        F.Italic = face.italic();
        return true;
    }

    bool ChooseColor(QColor &Color, std::vector<QColor> &Custom) override
    {
        for (int i = 0; i < QColorDialog::customCount() && i < int(Custom.size()); ++i)
            QColorDialog::setCustomColor(i, Custom[size_t(i)]);
        const QColor chosen = QColorDialog::getColor(Color, DialogParent(), "Color");
        Custom.resize(size_t(QColorDialog::customCount()));
        for (int i = 0; i < QColorDialog::customCount(); ++i)
            Custom[size_t(i)] = QColorDialog::customColor(i);
        if (!chosen.isValid())
            return false;
        Color = chosen;
        return true;
    }

    bool PrintDialog(QPrinter &Printer) override
    {
        QPrintDialog dialog(&Printer, DialogParent());
        return dialog.exec() == QDialog::Accepted;
    }

    bool PrinterSetup(QPrinter &Printer) override
    {
        QPageSetupDialog dialog(&Printer, DialogParent());
        return dialog.exec() == QDialog::Accepted;
    }

    void Beep() override { QApplication::beep(); }
};

TPrompt *g_prompt = nullptr;
TPrompt *g_fallbackPrompt = nullptr;

} // namespace

TPrompt &QtPrompt()
{
    static TQtPrompt qtPrompt;
    return qtPrompt;
}

TPrompt &Prompt()
{
    if (g_prompt)
        return *g_prompt;
    return g_fallbackPrompt ? *g_fallbackPrompt : QtPrompt();
}

void SetPrompt(TPrompt *prompt)
{
    g_prompt = prompt;
}

void SetFallbackPrompt(TPrompt *prompt)
{
    g_fallbackPrompt = prompt;
}

TModalResult ShowError(const QString &Msg) { return Prompt().MessageDlg(Msg, TMsgDlgType::mtError, mbOK); }
TModalResult ShowWarning(const QString &Msg) { return Prompt().MessageDlg(Msg, TMsgDlgType::mtWarning, mbOK); }
TModalResult ShowInformation(const QString &Msg) { return Prompt().MessageDlg(Msg, TMsgDlgType::mtInformation, mbOK); }
TModalResult AskConfirmation(const QString &Msg, TMsgDlgButtons Buttons)
{
    return Prompt().MessageDlg(Msg, TMsgDlgType::mtConfirmation, Buttons);
}

void ShowException(const std::exception &E)
{
    // Engine messages are bytes in the system's code page.
    Prompt().MessageDlg(BytesToQString(std::string(E.what())), TMsgDlgType::mtError, mbOK);
}

bool Guarded(const std::function<void()> &f)
{
    try {
        f();
        return true;
    } catch (const std::exception &e) {
        ShowException(e);
    } catch (...) {
        Prompt().MessageDlg("Unknown error", TMsgDlgType::mtError, mbOK);
    }
    return false;
}

QString ConvertFilter(const QString &WindowsFilter)
{
    const QStringList parts = WindowsFilter.split('|');
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        if (parts.at(i).isEmpty() && parts.at(i + 1).isEmpty())
            continue;
        QStringList patterns = parts.at(i + 1).split(';', Qt::SkipEmptyParts);
        // "*.*" means every file there, names without a dot too.
        for (QString &pattern : patterns)
            if (pattern.trimmed() == "*.*")
                pattern = "*";
        // The toolkit takes the patterns from the description's last parentheses, so they stand
        // there once, in place of the ones the description shows.
        QString description = parts.at(i).trimmed();
        if (description.endsWith(')')) {
            const qsizetype open = description.lastIndexOf('(');
            if (open >= 0)
                description = description.left(open).trimmed();
        }
        out << description + " (" + patterns.join(' ') + ")";
    }
    return out.join(";;");
}
