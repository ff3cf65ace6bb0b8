#pragma once

namespace zdawnik::bench {

// Six WMF and six EMF pictures of different makers, as one question's twelve answers; below
// tests/data/pictures/metafiles.
inline const char* const QuestionMetafiles[12] = {
    "wmf-libwmf/2doorvan.wmf",
    "wmf-libwmf/ant.wmf",
    "wmf-libwmf/formula1.wmf",
    "wmf-libwmf/sample.wmf",
    "wmf-libreoffice/pri-mail_l_200000430000271100001205CAE80946.wmf",
    "made-here/inkscape-matplotlib.wmf",
    "emf-libemf2svg/test-007.emf",
    "emf-libemf2svg/test-022.emf",
    "emf-libemf2svg/test-041.emf",
    "emf-libemf2svg/test-062.emf",
    "made-here/inkscape-matplotlib.emf",
    "made-here/libreoffice-polish_question.emf",
};

} // namespace zdawnik::bench
