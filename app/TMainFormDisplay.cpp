// Showing the question the reader has just read: the question text or picture, the answers of a
// choice question in their panels, or the sentence panel with its drop-down lists. The reader calls
// these as it parses; a question the reader reports is taken off the screen again.

#include "app/LayoutColors.h"
#include "app/ListColor.h"
#include "app/MessageBoxes.h"
#include "app/TMainForm.h"
#include "bank/PictureName.h"
#include "bank/QuestionReader.h"
#include "pictures/PictureLoader.h"
#include "widgets/Accessibility.h"
#include "widgets/TImage.h"
#include "widgets/TLabel.h"
#include "widgets/TPanel.h"

#include <QComboBox>
#include <QCoreApplication>

namespace zdawnik {

namespace {

// A picture of the bank, the part of it that its image widget shows, or the reason it cannot be
// shown.
PictureResult LoadBankPicture(PictureLoader& pictures, const std::filesystem::path& bankDir,
                              const std::string& name, TextEncoding encoding, const TImage& image)
{
    std::optional<platform::FileFacts> facts;
    const auto path = FindPictureFile(bankDir, name, encoding, &facts);
    if (!path)
        return PictureResult::Failure(QStringLiteral("no such file"));
    return pictures.Load(*path, image.size(), facts);
}

} // namespace

QString TMainForm::DecodeQuestionText(const std::string& bytes) const
{
    return QString::fromStdString(ToUtf8(bytes, m_run->CurrentQuestion().Encoding));
}

void TMainForm::showFileName(const std::string& fileName)
{
    // File names are shown as the system gives them.
    m_lblPytanieInfo->setCaption(QString::fromStdString(ToUtf8(fileName, TextEncoding::Utf8)));
}

// The pictures of the question before go: only the new question's are kept while it is shown. The
// widgets are hidden or about to be filled anew, so the screen does not change.
void TMainForm::ReleasePictures()
{
    m_pictures->BeginQuestion();
    m_imgPytanie->clearPicture();
    for (int n = 1; n <= 12; ++n)
        Find<TImage>(Numbered("imgOdp", n))->clearPicture();
}

void TMainForm::beginChoiceQuestion()
{
    m_readerShowed = true;
    ReleasePictures();
    m_pnlOdpowiedzY->hide();
}

void TMainForm::beginSentenceQuestion()
{
    m_readerShowed = true;
    ReleasePictures();
    m_lblCoPowstanie->setCaption(QString());
    for (int n = 1; n <= 4; ++n)
        SetListColor(Find<QComboBox>(Numbered("ComboOpcja", n)), clWhite.toQColor());
    m_pnlOdpowiedzY->show();
    m_lblIleOdpowiedzi->setCaption(QString());
}

void TMainForm::showQuestionLine(const Question& question)
{
    if (HasPictureTag(question.Body)) {
        m_imgPytanie->show();
        m_imgPytanie->setAccessibleName("rysunek: " + DecodeQuestionText(PictureName(question.Body)));
        m_lblPytanie->setCaption(QString());
        LoadQuestionPicture(PictureName(question.Body));
    } else {
        m_lblPytanie->setCaption(DecodeQuestionText(question.Body));
        m_imgPytanie->hide();
    }
}

void TMainForm::placeAnswers(int count)
{
    PlaceAnswers(count);
}

void TMainForm::showAnswer(int n, const Question& question)
{
    const std::string& line = question.Lines[n];
    auto* panel = Find<TPanel>(Numbered("pnlOdp", n));
    if (HasPictureTag(line)) {
        Find<TImage>(Numbered("imgOdp", n))->show();
        Find<TLabel>(Numbered("lblOdp", n))->setCaption(QString());
        panel->setAccessibleName("rysunek"); // read as the text that stands for a picture
        LoadAnswerPicture(n, PictureName(line));
    } else {
        Find<TImage>(Numbered("imgOdp", n))->hide();
        Find<TLabel>(Numbered("lblOdp", n))->setCaption(DecodeQuestionText(line));
        panel->setAccessibleName(CaptionText(DecodeQuestionText(line)));
    }
    DescribeAnswer(n);
}

void TMainForm::hideLists()
{
    for (int n = 1; n <= 4; ++n)
        Find<TPanel>(Numbered("pnlWybor", n))->hide();
}

void TMainForm::showList(int n, const std::vector<std::string>& options, const Question&)
{
    auto* list = Find<QComboBox>(Numbered("ComboOpcja", n));
    list->clear();
    for (const std::string& option : options)
        list->addItem(DecodeQuestionText(option));
    list->setCurrentIndex(-1);
    m_run->Sheet().ListInUse[static_cast<std::size_t>(n - 1)] = true;
    m_run->Sheet().Options[static_cast<std::size_t>(n - 1)] = options;
    Find<TPanel>(Numbered("pnlWybor", n))->show();
}

void TMainForm::reportError(const std::string& typeName, const std::string& message)
{
    // What the reader could not read is not shown, in part or whole: the report stands over an empty
    // question.
    ClearQuestion();
    const QString report = DecodeQuestionText(ErrorReportText(typeName, message));
    m_readerReport = report.toStdString();
    ShowMessage(MessageBoxes::Icon::None, QCoreApplication::applicationName(),
                EscapeControlCharacters(report));
}

void TMainForm::LoadQuestionPicture(const std::string& name)
{
    const PictureResult picture = LoadBankPicture(*m_pictures, m_environment.BankDir, name,
                                                  m_run->CurrentQuestion().Encoding, *m_imgPytanie);
    if (picture.ok()) {
        m_imgPytanie->setPicture(picture.image, picture.bitmap);
        return;
    }
    m_imgPytanie->hide();
    m_lblPytanie->setCaption("rysunek: " + DecodeQuestionText(name));
}

void TMainForm::LoadAnswerPicture(int n, const std::string& name)
{
    auto* image = Find<TImage>(Numbered("imgOdp", n));
    const PictureResult picture =
        LoadBankPicture(*m_pictures, m_environment.BankDir, name, m_run->CurrentQuestion().Encoding, *image);
    if (picture.ok()) {
        image->setPicture(picture.image, picture.bitmap);
        return;
    }
    image->hide();
    Find<TLabel>(Numbered("lblOdp", n))->setCaption("rysunek");
}

} // namespace zdawnik
