// The study clock: every tick of the timer adds one second to the time shown, carried from the
// seconds to the hours. The time lives in the digits' captions alone.

#include "app/TMainForm.h"
#include "base/StrToInt.h"
#include "widgets/TLabel.h"

namespace zdawnik {

void TMainForm::TimerTimer()
{
    const char* names[] = {"lblh1", "lblm1", "lblm2", "lbls1", "lbls2"};
    TLabel* labels[5];
    int h, m1, m2, s1, s2;
    int* values[] = {&h, &m1, &m2, &s1, &s2};
    for (int i = 0; i < 5; ++i) {
        labels[i] = Find<TLabel>(names[i]);
        *values[i] = StrToInt(labels[i]->caption().toStdString());
    }
    if (s2 != 9) {
        ++s2;
    } else {
        s2 = 0;
        if (s1 != 5) {
            ++s1;
        } else {
            s1 = 0;
            if (m2 != 9) {
                ++m2;
            } else {
                m2 = 0;
                if (m1 != 5) {
                    ++m1;
                } else {
                    m1 = 0;
                    ++h;
                }
            }
        }
    }
    for (int i = 0; i < 5; ++i)
        labels[i]->setCaption(QString::number(*values[i]));
}

} // namespace zdawnik
