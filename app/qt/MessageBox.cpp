#include "app/qt/MessageBox.h"

#include "app/DialogTexts.h"

#include <QMessageBox>

#include <algorithm>
#include <iterator>

namespace talver {

namespace {

// Advice and adjustments that the user needs to know but that refuse
// nothing; every other message reports something wrong.
bool IsNotice(const std::string& text)
{
    namespace Text = OptionsDialogText;
    static const char* const kNotices[] = {Text::kCovarianceAdvised, Text::kLongBootstrap,
                                           Text::kSamplesAdjustedTo500, Text::kHighestScoreAdjusted,
                                           Text::kLowestScoreAdjusted};
    return std::any_of(std::begin(kNotices), std::end(kNotices), [&](const char* notice) { return text == notice; });
}

} // namespace

void ShowTalverMessage(QWidget* parent, const std::string& text)
{
    QMessageBox box(IsNotice(text) ? QMessageBox::Information : QMessageBox::Warning, QStringLiteral("TALVER"),
                    QString::fromStdString(text), QMessageBox::Ok, parent);
    box.exec();
}

} // namespace talver
