#include "check/CheckRun.h"

#include "base/Platform.h"
#include "base/VisibleText.h"
#include "check/BrokenPipe.h"
#include "check/ReportFormat.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ostream>

#include "drill/StudyPool.h"

namespace zdawnik {

CheckRun::CheckRun(CheckOptions options, std::ostream& out, std::ostream& err)
    : m_options(options), m_out(out), m_err(err)
{
}

CheckStatus CheckRun::run(const std::vector<std::filesystem::path>& paths)
{
    for (const std::filesystem::path& path : paths) {
        if (!writing())
            break;
        std::error_code error;
        if (std::filesystem::is_directory(path, error))
            checkFolder(path);
        else if (std::filesystem::exists(path, error))
            checkSingleFile(path);
        else
            cannot("cannot read " + path.string() + ": no such file or folder");
    }
    // A clean bank passes in silence, as a linter's should.
    if (!m_options.Json && (m_problems > 0 || m_options.Verbose))
        write(CountLine(m_files, m_problems));
    errno = 0;
    if (!m_writeFailed && !m_out.flush())
        writeFailed();
    if (m_couldNotCheck || m_writeFailed)
        return CouldNotCheck;
    return m_problems > 0 ? Problems : NoProblems;
}

void CheckRun::checkFolder(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    const bool listed = platform::ListDirectory(folder, [&](std::string_view name) {
        if (IsQuestionFileName(name))
            names.emplace_back(name);
    });
    if (!listed) {
        cannot("cannot read the folder " + folder.string());
        return;
    }
    std::sort(names.begin(), names.end());
    int shown = 0;
    for (const std::string& name : names) {
        if (!writing())
            return;
        const FileReport checked =
            m_checker.checkFile(folder, name, platform::JoinName(folder, name).string());
        // What a link out of the bank shows is not known, since it is not read.
        shown += checked.Shown || checked.OutsideBank;
        report(checked);
    }
    // The program greets a bank it cannot ask from with its empty-bank messages, or ends the run at once.
    if (names.empty())
        bankFinding(folder, FindingCode::EmptyBank,
                    "the bank holds no question file (*.txt): the program greets its user with \"O cholera, "
                    "jaki\xC5\x9B error...\"");
    else if (shown == 0)
        bankFinding(folder, FindingCode::NothingShown,
                    "none of the bank's question files can be shown: the run has no question to ask");
}

void CheckRun::checkSingleFile(const std::filesystem::path& file)
{
    const std::filesystem::path folder = file.has_parent_path() ? file.parent_path() : ".";
    report(m_checker.checkFile(folder, file.filename().string(), file.string()));
}

void CheckRun::report(const FileReport& report)
{
    ++m_files;
    m_problems += static_cast<int>(report.Findings.size());
    if (m_options.Json) {
        if (!m_writeFailed) {
            errno = 0;
            WriteJson(report, m_out);
            endLine();
        }
        return;
    }
    for (const std::string& line : ToTextLines(report, m_options.Verbose))
        write(line);
}

void CheckRun::bankFinding(const std::filesystem::path& folder, FindingCode code, const std::string& message)
{
    ++m_problems;
    if (m_options.Json) {
        if (!m_writeFailed) {
            errno = 0;
            WriteBankJson(ToUtf8(folder.string(), TextEncoding::Utf8), Finding{std::nullopt, code, message},
                          m_out);
            endLine();
        }
        return;
    }
    write(folder.string() + ": " + message);
}

void CheckRun::write(const std::string& line)
{
    if (m_writeFailed)
        return;
    // Names and texts come from the bank; none of their bytes may steer the terminal.
    const std::string visible = VisibleText(line);
    errno = 0;
    m_out.write(visible.data(), static_cast<std::streamsize>(visible.size()));
    endLine();
}

bool CheckRun::endLine()
{
    if (m_out.put('\n'))
        return true;
    writeFailed();
    return false;
}

void CheckRun::writeFailed()
{
    const int error = errno;
    EndIfReaderGone(error);
    m_writeFailed = true;
    cannot(std::string("cannot write the report: ") + std::strerror(error));
}

void CheckRun::cannot(const std::string& what)
{
    m_couldNotCheck = true;
    m_err << "zdawnik-check: " << VisibleText(what) << '\n' << std::flush;
}

} // namespace zdawnik
