// The page builder wizard's home page, generated from the wizard's answers, and its page rules.
#pragma once

#include <string>
#include <vector>

// Everything the wizard asks for, as entered.
struct TPageWizardAnswers {
    std::string Title;
    std::string SubHeading;
    bool HRAfterHeadings = true;
    bool CenterHeadings = false;
    std::string ImageFileName;
    bool CenterImage = false;
    // The paragraph as the text box shows it, one entry per shown line.
    std::vector<std::string> ParagraphLines;
    bool CenterParagraph = false;
    std::string LinkDesc[3];
    std::string LinkURL[3];
    std::string FileName; // where the page is written
};

inline constexpr int PageWizardPageCount = 6;
inline constexpr const char *HomePageDefaultName = "HOMEPAGE.HTM";
// The target of the credit line's link.
inline constexpr const char *PelmarHomePageURL = "https://pelmar32.example.org/";

// The lines of the page, without line ends.
std::vector<std::string> GenerateHomePageLines(const TPageWizardAnswers &Answers);
// The file content: every line followed by CR LF.
std::string GenerateHomePage(const TPageWizardAnswers &Answers);

// Finish's checks: "You must specify a file name.", then "You must specify a title."; empty when
// the page can be written.
std::string PageWizardFinishError(const TPageWizardAnswers &Answers);

// Writes the page to Answers.FileName, replacing a file of that name only once the new content
// is complete. Throws EFileError (from the file layer) on failure.
void WriteHomePage(const TPageWizardAnswers &Answers);

// "Your Home Page has been saved in the file " + the file name.
std::string HomePageSavedMessage(const std::string &FileName);

// Navigation state for page Page (1..PageWizardPageCount).
struct TWizardButtons {
    bool Previous = false, Next = false, Finish = false;
};
TWizardButtons PageWizardButtons(int Page);
// "Page of Count", e.g. "2 of 6".
std::string PageWizardPageText(int Page);

// An image chosen with Browse: the file name alone, in lower case when LowerName.
std::string PageImageFromBrowse(const std::string &ChosenPath, bool LowerName);
