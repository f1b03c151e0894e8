#pragma once
// Qt's own texts (dialog buttons, the file dialog, `quarvel --help`) in
// Brazilian Portuguese: Debian's translation of Qt, and ours for the few
// texts it lacks.
class QCoreApplication;

namespace quarvel::app {

// Installs both translations on the application; they live as long as it.
// Makes Brazilian Portuguese the default locale too.
void instalar_traducoes(QCoreApplication& app);

} // namespace quarvel::app
