#include "app/QuestionFirstLine.h"

#include "bank/PictureName.h"
#include "bank/QuestionLineReader.h"
#include "base/Platform.h"
#include "base/TextEncoding.h"

#include <string_view>
#include <vector>

namespace zdawnik {

namespace {

// The second field of the joined lines: the question line.
std::string_view SecondField(std::string_view joined)
{
    constexpr std::string_view Stop = "[stop]";
    const std::size_t headerEnd = joined.find(Stop);
    if (headerEnd == std::string_view::npos)
        return {};
    joined.remove_prefix(headerEnd + Stop.size());
    return joined.substr(0, joined.find(Stop));
}

} // namespace

QString QuestionFirstLine(const std::filesystem::path& bankDir, const std::string& fileName)
{
    try {
        platform::InputFile file(platform::JoinName(bankDir, fileName));
        QuestionLineReader reader;
        std::vector<char> buffer(FirstLineReadBytes);
        std::size_t total = 0;
        while (total < buffer.size()) {
            const std::size_t got = file.read(buffer.data() + total, buffer.size() - total);
            if (got == 0)
                break;
            total += got;
        }
        file.close();
        reader.feed(std::string_view(buffer.data(), total));
        const QuestionLines lines = reader.finish();
        const std::string_view body = SecondField(lines.JoinedText);
        const TextEncoding encoding = HeldEncoding(lines.Encoding);
        if (HasPictureTag(body))
            return QStringLiteral("rysunek: ") + QString::fromStdString(ToUtf8(PictureName(body), encoding));
        return QString::fromStdString(ToUtf8(body, encoding)).simplified();
    } catch (const std::exception&) {
        // A file gone or unreadable since the answers were given: the table shows its name alone.
        return {};
    }
}

} // namespace zdawnik
