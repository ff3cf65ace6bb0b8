#include "check/FileChecker.h"

#include "bank/PictureName.h"
#include "bank/Question.h"
#include "bank/QuestionReader.h"
#include "base/Errors.h"
#include "base/Platform.h"
#include "base/StrToInt.h"
#include "check/MessageText.h"
#include "check/PictureCheck.h"
#include "check/ReportView.h"
#include "pictures/PictureLoader.h"

#include <QString>

#include <algorithm>
#include <array>

namespace zdawnik {

namespace {

// The Polish letters as UTF-8 bytes. In a file read as Windows-1250 each shows as two other letters.
constexpr std::array<std::string_view, 18> Utf8PolishLetters = {
    "\xC4\x85", "\xC4\x87", "\xC4\x99", "\xC5\x82", "\xC5\x84", "\xC3\xB3",
    "\xC5\x9B", "\xC5\xBA", "\xC5\xBC", "\xC4\x84", "\xC4\x86", "\xC4\x98",
    "\xC5\x81", "\xC5\x83", "\xC3\x93", "\xC5\x9A", "\xC5\xB9", "\xC5\xBB"};

// Where a label would drop a single "&": it underlines the character after it instead. "&&" shows
// one "&".
bool HasSingleAmpersand(std::string_view text)
{
    for (std::size_t at = text.find('&'); at != std::string_view::npos; at = text.find('&', at + 2)) {
        if (at + 1 >= text.size() || text[at + 1] != '&')
            return true;
    }
    return false;
}

// Nothing but spaces and tabs, or nothing at all.
bool IsBlank(std::string_view text)
{
    return text.find_first_not_of(" \t") == std::string_view::npos;
}

std::string LowerAscii(std::string_view text)
{
    std::string lower(text);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return lower;
}

// Judges one file that the reader has read and shown to a ReportView.
class Judgement
{
public:
    Judgement(FileReport& report, const QuestionLines& lines, const std::filesystem::path& folder,
              const TextFit& fit)
        : m_report(report), m_lines(lines), m_folder(folder), m_fit(fit)
    {
    }

    void run()
    {
        fileName();
        // Read byte by byte, such a file is garbage from its first line: what else is found there
        // only follows from it.
        if (unmarkedUtf16())
            return;
        if (!lineCount())
            return;
        stopMarkers();
        cutLines();
        // A small x makes a sentence question of what is meant as a choice question: what the
        // sentence's reading finds wrong only follows from it.
        const bool smallChoiceMark = smallX();
        readerError(smallChoiceMark);
        questionLine();
        if (!m_report.ReaderError) {
            if (m_report.Choice)
                choice();
            else if (!smallChoiceMark)
                sentence();
        }
        std::stable_sort(
            m_report.Findings.begin(), m_report.Findings.end(),
            [](const Finding& a, const Finding& b) { return a.Line.value_or(0) < b.Line.value_or(0); });
    }

private:
    std::string utf8(std::string_view text) const { return ToUtf8(text, m_report.Encoding); }
    // A line 0 is a field the file has no line for: the finding is the whole file's.
    void add(std::optional<int> line, FindingCode code, std::string message)
    {
        if (line == 0)
            line.reset();
        m_report.Findings.push_back(Finding{line, code, std::move(message)});
    }
    int headerLine() const { return 1; }

    void fileName()
    {
        if (HasSingleAmpersand(m_report.File))
            add(std::nullopt, FindingCode::SingleAmpersand,
                "the file name holds a single \"&\", which the question ID at the top right does not show: "
                "it underlines the letter after it instead");
    }

    bool unmarkedUtf16()
    {
        if (!m_lines.UnmarkedUtf16)
            return false;
        add(std::nullopt, FindingCode::Utf16WithoutMark,
            std::string("the file is UTF-16 (") + EncodingName(*m_lines.UnmarkedUtf16) +
                ") without a byte-order mark: the program reads it byte by byte, as Windows-1250, and "
                "shows garbage; save it with a byte-order mark, or in UTF-8");
        return true;
    }

    // False when the file is not shown at all.
    bool lineCount()
    {
        if (m_report.Lines == 0)
            add(std::nullopt, FindingCode::EmptyFile,
                "the file holds no line: the program shows only its name and skips the question");
        else if (m_report.Lines > MaxQuestionLines)
            add(MaxQuestionLines + 1, FindingCode::TooManyLines,
                "the file has more than " + std::to_string(MaxQuestionLines) +
                    " lines: the program shows only its name and skips the question");
        return IsShownLineCount(m_report.Lines);
    }

    bool smallX()
    {
        if (!m_report.Header.starts_with('x'))
            return false;
        add(headerLine(), FindingCode::SmallChoiceMark,
            "the header starts with a small x: a choice question starts with a capital X");
        return true;
    }

    void stopMarkers()
    {
        for (std::size_t i = 0; i < m_lines.StopMarkers.size(); ++i) {
            if (m_lines.StopMarkers[i] > 0)
                add(static_cast<int>(i) + 1, FindingCode::StopMarker,
                    "the line holds \"[stop]\", which the program takes as a line break: every later line "
                    "moves down");
        }
    }

    void cutLines()
    {
        for (const int line : m_lines.CutLines)
            add(line, FindingCode::CutLine,
                "the line is longer than " + std::to_string(MaxLineBytes / 1024) +
                    " KiB, the longest the program reads: it refuses the whole file");
    }

    // What the reader refuses, in the checker's words: the window reports it in its error box and
    // skips the question.
    void readerError(bool smallChoiceMark)
    {
        // A cut line is named at its line by cutLines.
        if (!m_report.ReaderError || m_report.ReaderError->Type == ELineTooLong::Name)
            return;
        const std::string& type = m_report.ReaderError->Type;
        if (smallChoiceMark && type == EConvertError::Name)
            return;
        const std::string consequence = ": the window reports an error and skips the question";
        if (type == EConvertError::Name) {
            const std::string count = CharacterAt(m_report.Header, 2, m_report.Encoding);
            add(headerLine(), FindingCode::ListCount,
                count.empty() ? "the header has no second character, the number of lists" + consequence
                              : "the number of lists, the header's second character, is " +
                                    Quoted(utf8(count)) + ", no digit" + consequence);
        } else if (type == ETooManyAnswers::Name) {
            add(MaxAnswers + 3, FindingCode::TooManyAnswers,
                "the choice question has " + std::to_string(m_report.Lines - 2) + " answers, more than the " +
                    std::to_string(MaxAnswers) + " answer panels of the window" + consequence);
        } else if (type == EInOutError::Name) {
            add(std::nullopt, FindingCode::Unreadable,
                "the file cannot be read: " + utf8(m_report.ReaderError->Message));
        } else {
            add(std::nullopt, FindingCode::ReaderError,
                "the program cannot show the file: " + utf8(m_report.ReaderError->Message));
        }
    }

    // What every text the window shows on a label must not hold.
    void shownText(int line, std::string_view text, const std::string& what,
                   std::optional<QuestionPlace> place)
    {
        if (HasSingleAmpersand(text))
            add(line, FindingCode::SingleAmpersand,
                "a single \"&\" in " + what + " " + Quoted(utf8(text)) +
                    " is not shown: the window underlines the letter after it; write \"&&\" for one \"&\"");
        mixedEncoding(line, text);
        tagCase(line, text);
        if (!place)
            return;
        if (const std::optional<QSize> needed = m_fit.overflow(QString::fromStdString(utf8(text)), *place))
            add(line, FindingCode::TextCut,
                what + " needs " + SizeText(*needed) + " pixels, more than its place of " +
                    SizeText(m_fit.placeSize(*place)) + ": the window cuts it");
    }

    void mixedEncoding(int line, std::string_view text)
    {
        if (m_report.Encoding != TextEncoding::Windows1250)
            return;
        for (const std::string_view letter : Utf8PolishLetters) {
            if (text.find(letter) != std::string_view::npos) {
                add(line, FindingCode::MixedEncoding,
                    "the letter " + Quoted(letter) +
                        " is written in UTF-8 in a file read as Windows-1250: "
                        "the window shows " +
                        Quoted(utf8(letter)) + "; save the whole file in one encoding");
                return;
            }
        }
    }

    void tagCase(int line, std::string_view text)
    {
        const std::string lower = LowerAscii(text);
        for (const std::string_view tag : {PictureOpenTag, PictureCloseTag}) {
            for (std::size_t at = lower.find(tag); at != std::string::npos; at = lower.find(tag, at + 1)) {
                const std::string_view written = text.substr(at, tag.size());
                if (written != tag) {
                    add(line, FindingCode::TagCase,
                        Quoted(written) +
                            " is no picture tag, so the line shows as text: the tags are written " +
                            Quoted(tag) + ", in small letters");
                    break;
                }
            }
        }
    }

    void picture(int line, const std::string& name, QuestionPlace place)
    {
        for (Finding& finding : CheckPicture(m_folder, name, m_report.Encoding, place))
            add(line, finding.Code, std::move(finding.Message));
    }

    void questionLine()
    {
        if (m_report.BodyLine == 0)
            return;
        if (m_report.QuestionPicture)
            picture(m_report.BodyLine, *m_report.QuestionPicture, QuestionPlace::Question);
        else
            shownText(m_report.BodyLine, m_report.Body, "the question", QuestionPlace::Question);
    }

    void choice()
    {
        const int answers = static_cast<int>(m_report.Answers.size());
        if (answers == 0) {
            add(std::nullopt, FindingCode::NoAnswers,
                "the choice question has no answer lines: it can never be answered right");
            return;
        }
        // Empty lines at the end of the file, which an editor may leave unseen, are answers all the
        // same.
        int meant = answers;
        while (meant > 0 && m_report.Answers[static_cast<std::size_t>(meant - 1)].Text.empty())
            --meant;
        flags(answers, meant);
        for (int k = 1; k <= answers; ++k) {
            const FileReport::Answer& answer = m_report.Answers[static_cast<std::size_t>(k - 1)];
            const std::string name = "answer " + std::to_string(k);
            if (answer.Picture)
                picture(answer.Line, *answer.Picture, QuestionPlace::Answer);
            else if (k > meant)
                add(answer.Line, FindingCode::EmptyLastLine,
                    "an empty last line is read as an answer: the window shows an empty answer panel; "
                    "delete the line");
            else if (IsBlank(answer.Text))
                add(answer.Line, FindingCode::EmptyAnswer,
                    name + " is empty: the window shows an empty panel");
            else
                shownText(answer.Line, answer.Text, name, QuestionPlace::Answer);
        }
    }

    // meant: the answers without the empty lines at the end of the file, which need no flag.
    void flags(int answers, int meant)
    {
        int right = 0;
        int flagCount = 0;
        for (int k = 1;; ++k) {
            const std::string flag = ChoiceFlag(m_report.Header, k, m_report.Encoding);
            if (flag.empty())
                break;
            flagCount = k;
            if (k > answers) {
                if (IsRightKey(flag))
                    add(headerLine(), FindingCode::FlagWithoutAnswer,
                        "the header marks answer " + std::to_string(k) +
                            " right, but the question has only " + std::to_string(answers) +
                            " answer(s): that right answer is never shown");
                continue;
            }
            if (IsRightKey(flag))
                ++right;
            else if (flag != "0")
                add(headerLine(), FindingCode::FlagNotBinary,
                    "the flag of answer " + std::to_string(k) + " is " + Quoted(utf8(flag)) +
                        ", neither \"0\" nor \"1\": the answer counts as wrong");
        }
        if (flagCount < meant)
            add(headerLine(), FindingCode::FewerFlags,
                "note: the header has flags for " + std::to_string(flagCount) + " of the " +
                    std::to_string(meant) + " answers: the answers without a flag count as wrong");
        if (right == 0)
            add(headerLine(), FindingCode::NoRightAnswer,
                "no answer is marked right (no flag \"1\" in the header): the question can never be answered "
                "right");
    }

    void sentence()
    {
        const std::string sentence = utf8(WithoutPictureTag(m_report.Body));
        for (std::size_t i = 0; i < m_report.Lists.size(); ++i) {
            const FileReport::List& list = m_report.Lists[i];
            const int n = static_cast<int>(i) + 1;
            const std::string name = "list " + std::to_string(n);
            const int line = list.Line > 0 ? list.Line : headerLine();
            if (list.Line == 0)
                add(headerLine(), FindingCode::ListWithoutLine,
                    "the header asks for " + name +
                        ", but the file has no line for it: it offers no options");
            else if (list.Options.empty())
                add(list.Line, FindingCode::ListWithoutOptions,
                    name + " has no \";;\" after an option: it offers no options");
            options(list, name);
            key(list, name, line);
            if (sentence.find(SentenceGap(n)) == std::string::npos)
                add(m_report.BodyLine, FindingCode::GapMissing,
                    "the sentence has no " + SentenceGap(n) + " for " + name +
                        ": the option chosen there never shows in the sentence");
        }
    }

    void options(const FileReport::List& list, const std::string& name)
    {
        bool blank = false;
        for (std::size_t k = 0; k < list.Options.size(); ++k) {
            const std::string& option = list.Options[k];
            if (IsBlank(option) && !blank) {
                blank = true;
                add(list.Line, FindingCode::EmptyOption,
                    name + ": option " + std::to_string(k + 1) +
                        " is empty: the drop-down list shows an empty entry");
            }
            // The chosen options go into the sentence, which a label shows.
            shownText(list.Line, option, "an option of " + name, std::nullopt);
        }
    }

    void key(const FileReport::List& list, const std::string& name, int line)
    {
        static const std::string NeverRight =
            ": the check reports an error and judges every answer wrong, so the question can never be "
            "answered right";
        if (list.Key.empty()) {
            add(headerLine(), FindingCode::KeyMissing,
                name + " has no key: the header is too short" + NeverRight);
            return;
        }
        int key = 0;
        try {
            key = StrToInt(list.Key);
        } catch (const EConvertError&) {
            add(headerLine(), FindingCode::KeyNotDigit,
                "the key of " + name + " is " + Quoted(utf8(list.Key)) + ", no digit" + NeverRight);
            return;
        }
        if (key > static_cast<int>(list.Options.size()))
            add(line, FindingCode::KeyPastOptions,
                "the key " + list.Key + " of " + name + " points past its " +
                    std::to_string(list.Options.size()) +
                    " option(s): the question can never be answered right");
    }

    FileReport& m_report;
    const QuestionLines& m_lines;
    const std::filesystem::path& m_folder;
    const TextFit& m_fit;
};

// Whether the file of that name in folder is a link that leads out of it. A file that cannot be
// followed is left to the reader, which says why it cannot open it.
bool LeadsOutOfFolder(const std::filesystem::path& folder, const std::string& name)
{
    // The name is a bare name: only the file itself can lead elsewhere, and most files are no link.
    const std::filesystem::path link = platform::JoinName(folder, name);
    std::error_code error;
    if (!std::filesystem::is_symlink(std::filesystem::symlink_status(link, error)))
        return false;
    const std::filesystem::path file = std::filesystem::canonical(link, error);
    if (error)
        return false;
    const std::filesystem::path bank = std::filesystem::canonical(folder, error);
    if (error)
        return false;
    return std::mismatch(bank.begin(), bank.end(), file.begin(), file.end()).first != bank.end();
}

} // namespace

FileReport FileChecker::checkFile(const std::filesystem::path& folder, const std::string& name,
                                  const std::string& path) const
{
    FileReport report;
    report.File = name;
    report.Path = path;
    if (LeadsOutOfFolder(folder, name)) {
        // Such a link may lead anywhere, to the secrets of the system as well: nothing of it is read,
        // so nothing of it can reach the report.
        report.OutsideBank = true;
        report.Findings.push_back(Finding{std::nullopt, FindingCode::OutsideBank,
                                          "the file is a link that leads out of the bank folder: the checker "
                                          "does not read it, and a copy of the bank will not carry it"});
        return report;
    }
    Question question;
    ReportView view(report);
    QuestionLines lines;
    try {
        lines = LoadQuestionFile(folder, name, question, view);
    } catch (const EInOutError& error) {
        report.ReaderError = FileReport::Error{error.typeName(), error.message()};
        report.Findings.push_back(
            Finding{std::nullopt, FindingCode::Unreadable,
                    std::string("the program cannot open the file: ") + error.message()});
        return report;
    }
    judge(report, lines, folder);
    return report;
}

FileReport FileChecker::checkBytes(std::string_view bytes, const std::string& name,
                                   const std::filesystem::path& folder) const
{
    FileReport report;
    report.File = name;
    report.Path = name;
    Question question;
    ReportView view(report);
    const QuestionLines lines = ReadQuestionLines(bytes);
    ShowQuestionLines(lines, question, view);
    judge(report, lines, folder);
    return report;
}

void FileChecker::judge(FileReport& report, const QuestionLines& lines,
                        const std::filesystem::path& folder) const
{
    report.Lines = lines.LineCount;
    report.Encoding = lines.Encoding;
    report.Shown = IsShownLineCount(lines.LineCount) && !report.ReaderError;
    if (report.Header.empty()) {
        // The reader showed nothing, but the report still tells what the file starts with.
        report.Header = HeaderField(lines);
        report.Choice = IsChoiceHeader(report.Header);
    }
    CheckerPictures().BeginQuestion();
    Judgement(report, lines, folder, m_fit).run();
}

} // namespace zdawnik
