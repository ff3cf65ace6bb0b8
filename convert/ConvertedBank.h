#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <vector>

namespace zdawnik {

// A question line or an answer as the window shows it: a text, a picture, or (the question line of a
// sentence question) both. Texts are what the user reads: a single "&" is an "&".
struct ItemText
{
    QString Text;
    int Picture = -1; // index into ConvertedBank::Pictures, or -1

    bool hasPicture() const { return Picture >= 0; }
};

struct ChoiceAnswer
{
    ItemText Content;
    bool Right = false;
};

// One drop-down list of a sentence question.
struct SentenceList
{
    QStringList Options;
    int Right = 0; // the right option, counted from 1
};

enum class QuestionKind
{
    Choice,
    Sentence,
};

// A question between formats. A sentence question's Body holds the gaps "{wybór n}".
struct ConvertedQuestion
{
    QuestionKind Kind = QuestionKind::Choice;
    QString Name;     // the title or file name it had where it came from; may be empty
    QString Category; // parts separated by "/"; empty for none
    QString Source;   // the file it came from, as reports name it
    int SourceLine = 0;
    ItemText Body;
    std::vector<ChoiceAnswer> Answers;
    std::vector<SentenceList> Lists;
};

// A picture the questions name, with the name it had where it came from.
struct PictureFile
{
    QString Name;
    QByteArray Bytes;
};

// Where a source names a category: the questions after it belong to it.
struct CategoryMention
{
    QString Name;
    QString Source;
    int Line = 0;
};

struct ConvertedBank
{
    std::vector<ConvertedQuestion> Questions;
    std::vector<PictureFile> Pictures;
    std::vector<CategoryMention> Categories;

    int addPicture(const QString& name, const QByteArray& bytes)
    {
        Pictures.push_back({name, bytes});
        return static_cast<int>(Pictures.size()) - 1;
    }
};

} // namespace zdawnik
