#include "SetupTexts.h"

namespace SetupTexts {

namespace {

struct Pair {
    Id id;
    const wchar_t* german;
    const wchar_t* english;
};

// Blanks, line breaks and spellings are part of the texts users know; keep them as they are.
const Pair kTexts[] = {
    {Id::ScriptMissingGerman, L"Die Datei Install.Txt kann nicht gelesen werden !\nAbbruch der Installation.",
     L"Die Datei Install.Txt kann nicht gelesen werden !\nAbbruch der Installation."},
    {Id::ScriptMissingEnglish, L"File Install.Txt was not found !\nInstallation will be canceled.",
     L"File Install.Txt was not found !\nInstallation will be canceled."},
    {Id::ScriptMissingTitleGerman, L"FEHLER", L"FEHLER"},
    {Id::ScriptMissingTitleEnglish, L"Note", L"Note"},
    {Id::LicenceMissing, L"Die Lizenzvereinbarung wurde nicht gefunden.\n.Installation wird beendet",
     L"The License Agreement could not be found.\n.Installation will be aborted"},
    {Id::LicenceMissingTitle, L"Hinweis", L"Note"},
    // These two warnings are German in both languages.
    {Id::NoSpace, L"Zuwenig Speicher auf dem Laufwerk vorhanden !\nWählen Sie ein anderes Laufwerk.",
     L"Zuwenig Speicher auf dem Laufwerk vorhanden !\nWählen Sie ein anderes Laufwerk."},
    {Id::NoFolder, L"Bestimmen Sie einen Ordner zur Installation des Programms !",
     L"Bestimmen Sie einen Ordner zur Installation des Programms !"},
    {Id::HintTitle, L"Hinweis", L"Hinweis"},
    {Id::FailuresIntro, L"Die Installation ist nicht vollständig. Folgendes ist fehlgeschlagen:",
     L"The installation is not complete. The following failed:"},
    {Id::FailuresTitle, L"Hinweis", L"Note"},
    {Id::FailedCopy, L"Datei nicht kopiert: ", L"File not copied: "},
    {Id::FailedFolderCopy, L"Ordner nicht kopiert: ", L"Folder not copied: "},
    {Id::FailedShortcut, L"Verknüpfung nicht erstellt: ", L"Shortcut not created: "},
    {Id::FailedRegistry, L"Registrierungseintrag nicht geschrieben: ", L"Registry entry not written: "},
    {Id::FailedFolder, L"Ordner nicht erstellt: ", L"Folder not created: "},
    {Id::SkippedLine, L"Fehlerhafte Zeile in Install.txt übergangen: ", L"Malformed line of Install.txt skipped: "},
    {Id::RefusedPath, L"Pfad außerhalb seines Ordners in Install.txt übergangen: ",
     L"Path outside its folder in Install.txt skipped: "},
    {Id::StatusCopying, L"Kopiere Dateien . . . ", L"Copy Files . . . "},
    {Id::StatusInstallingFile, L"Installieren der Datei ", L"Installing "},
    {Id::StatusShortcuts, L"Erstelle Verknüpfungen . . . ", L"Create Shortcuts . . . "},
    {Id::StatusInstallingShortcut, L"Installieren der Datei ", L"Installating "},
    {Id::StatusRegistry, L"Erstelle Registrierungseinträge . . . ", L"Registry Entries . . . "},
    {Id::ProductWord, L"Kelvane", L"Kelvane"},
    {Id::BackdropSetup, L"Setup ", L"Setup "},
    {Id::LanguageHeading, L"Sprache / Language", L"Sprache / Language"},
    {Id::LanguageText,
     L"Please select the language that you would like to use during\r\nthe installation.\r\nBitte wählen Sie die "
     L"Sprache die Sie während der Installation\r\nbenutzen möchten",
     L"Please select the language that you would like to use during\r\nthe installation.\r\nBitte wählen Sie die "
     L"Sprache die Sie während der Installation\r\nbenutzen möchten"},
    {Id::LanguageEnglish, L"English", L"English"},
    {Id::LanguageGerman, L"Deutsch", L"Deutsch"},
    {Id::LanguageOk, L"&OK", L"&OK"},
    {Id::WelcomeHeading, L"Willkommen zum Setup von", L"Welcome to Setup"},
    {Id::WelcomeInstallLine, L"Kelvane installiert", L"Kelvane will install"},
    {Id::WelcomeAdvice,
     L"Bitte schließen Sie vor der Installation alle früheren Programmversionen\r\ndes Programms, damit der Kelvane "
     L"diese ersetzen kann.\r\n\r\nKlicken Sie auf \"Weiter\", um mit der Installation fortzufahren oder\r\nauf "
     L"\"Abbrechen\", um zu beenden.",
     L"It is stongly recommended that you close all other applications you have running before continuing. This will "
     L"help prevent any conflicts during the installation process. Click Next to Continue or Cancel to exit Setup"},
    {Id::OnYourComputer, L" auf Ihrem Rechner", L" on your Computer"},
    {Id::LicenceQuestion,
     L"Akzeptieren Sie die Lizenzvereinbarung, klicken Sie auf \"Ja\", sonst auf \"Nein\"\r\nund die Installation "
     L"wird abgebrochen .",
     L"Do you accept all the terms of the preceding License Agreement ? If you choose No, Setup will close. To "
     L"continue you must accept"},
    {Id::DestinationHeading, L"Bitte bestimmen Sie den Ordner, in dem die Anwendung installiert werden soll",
     L"Select the Destination folder"},
    {Id::GroupHeading, L"Bitte bestimmen Sie die Programmgruppe ", L"Choose the Prgram group"},
    {Id::GroupDesktop, L"Verknüpfung auf Desktop anlegen ", L"Create Desktop shortcut"},
    {Id::SummaryHeading,
     L"Kelvane hat nun alle Angaben und kann mit der Installation\r\nbeginnen. Klicken Sie auf \"Weiter\" um mit der "
     L"Installation zu beginnen,\r\nauf \"Zurück\" um Eingaben zu ändern oder auf \"Abbrechen\" um "
     L"die\r\nInstallation abzubrechen",
     L"Kelvane has all the details. You are now ready to install the program on your computer. Click Install to "
     L"continue, Cancel to exit the program"},
    {Id::ProgressHeading, L"Kopiere Dateien, erstelle Verknüpfungen und \r\nRegistrierungseinträge",
     L"Copy Files, make shortcuts and create registry entries"},
    {Id::ProgressLabel, L"Aktion :", L"Action"},
    {Id::FinishHeading, L"Installation erfolgreich abgeschlossen", L"Installation finished"},
    {Id::FinishHeadingFailed, L"Installation unvollständig abgeschlossen", L"Installation finished with errors"},
    {Id::FinishHint, L"Zum Beenden der Installtion klicken Sie auf \"Beenden\"", L"To finish Setup click Finish"},
    {Id::FinishLaunch, L"Anwendung nach Abschluss der Installation sofort starten ",
     L"Launch application after Finish"},
    {Id::ButtonCancel, L"&Abbrechen", L"&Cancel"},
    {Id::ButtonNext, L"&Weiter >", L"&Next"},
    {Id::ButtonBack, L"< &Zurück", L"&Back"},
    {Id::LicenceDecline, L"&Nein", L"&NO"},
    {Id::LicenceAccept, L"&Ja", L"&Accept"},
    {Id::SummaryInstall, L"&Installieren>", L"&Install"},
    {Id::FinishFinish, L"&Beenden", L"&Finish"},
    // The question's window title stays German in both languages.
    {Id::CancelTitle, L"Installation abbrechen", L"Installation abbrechen"},
    {Id::CancelHeading, L"Installation abbrechen", L"Cancel Setup"},
    {Id::CancelText,
     L"Setup wurde nicht vollständig ausgeführt !\r\nWenn Sie Setup beenden, wird das Programm nicht "
     L"installiert.\r\nSie müssen  Setup zu einem späteren Zeitpunkt ausführen, um das \r\nProgramm zu "
     L"installieren.\r\nMöchen Sie Setup wirklich beenden ?",
     L"Setup is not complete. If you quite now, the program will not be installed. You may run the Setup program "
     L"again at another time to complete the installation. Exit Setup ?"},
    {Id::CancelYes, L"&Ja", L"Yes"},
    {Id::CancelNo, L"&Nein", L"No"},
    {Id::SpaceNeeded, L"braucht: ", L"Required: "},
    {Id::SpaceFree, L" MB ; frei: ", L" MB ; free: "},
    {Id::SpaceRest, L" MB ; übrig: ", L" MB ; rest "},
    {Id::SummaryDestination, L"Zielordner :", L"Destination directory :"},
    {Id::SummaryGroup, L"Programmgruppe :", L"Programm group :"},
    {Id::SummaryDesktop, L"Verknüpfung auf Desktop anlegen :", L"Shortcut to Desktop :"},
    {Id::SummaryYes, L"      Ja", L"      Yes"},
    {Id::SummaryNo, L"      Nein", L"      N0"},
    {Id::SummarySpace, L"Speicherplatz :", L"Diskspace :"},
    {Id::SummaryNeeded, L"      Benötigt : ", L"      Needed : "},
    {Id::SummaryFreeOnDrive, L"      Frei auf Laufwerk ", L"      Free on drive "},
    {Id::SummaryRest, L"      Rest :", L"      Rest :"},
    {Id::Megabytes, L" MB", L" MB"},
    {Id::FailedLog, L"Deinstallationsprotokoll nicht geschrieben: ", L"Uninstall log not written: "},
    {Id::LogNotFound,
     L"Es wurde keine Installation gefunden, die entfernt werden kann (kein Deinstallationsprotokoll): ",
     L"No installation was found that can be removed (no uninstall log): "},
    {Id::LogRefused, L"Das Deinstallationsprotokoll wird nicht verwendet, es wird nichts entfernt:",
     L"The uninstall log is not used, nothing is removed:"},
    {Id::LogBadHeader, L"Die Datei ist kein Deinstallationsprotokoll", L"The file is not an uninstall log"},
    {Id::LogUnknownVersion, L"Das Protokoll stammt von einer unbekannten Version",
     L"The log comes from an unknown version"},
    {Id::LogOtherProduct, L"Das Protokoll gehört zu einem anderen Programm", L"The log belongs to another program"},
    {Id::LogOtherFolder, L"Das Protokoll gehört zu einer Installation in einem anderen Ordner",
     L"The log belongs to an installation in another folder"},
    {Id::LogBadRecord, L"Das Protokoll ist beschädigt", L"The log is damaged"},
    {Id::LogLine, L", Zeile ", L", line "},
    {Id::UninstallTitle, L"Deinstallation von ", L"Uninstall "},
    {Id::UninstallAsk, L"Möchten Sie ", L"Do you want to remove "},
    {Id::UninstallAskEnd, L" mit allen installierten Bestandteilen von Ihrem Rechner entfernen ?",
     L" and all of its installed components from your computer ?"},
    {Id::UninstallKeepCatalogue, L"Möchten Sie Ihren Katalog behalten ?\n\nDer Ordner\n",
     L"Do you want to keep your catalogue ?\n\nThe folder\n"},
    // The buttons are the system's, in the system's language: the text does not name them.
    {Id::UninstallKeepCatalogueEnd,
     L"\nenthält Ihre Kataloge. Wenn Sie ihn nicht behalten, wird er mit allem Inhalt gelöscht.",
     L"\nholds your catalogues. If you do not keep it, it is deleted with everything in it."},
    {Id::UninstallDone, L" wurde von Ihrem Rechner entfernt.", L" has been removed from your computer."},
    {Id::UninstallIncomplete, L"Die Deinstallation ist nicht vollständig. Folgendes wurde nicht entfernt:",
     L"The uninstall is not complete. The following was not removed:"},
    {Id::UninstallNotRemoved, L"Nicht entfernt (in Benutzung oder gesperrt): ", L"Not removed (in use or locked): "},
    {Id::UninstallRegistryNotRemoved, L"Registrierungseintrag nicht entfernt: ", L"Registry entry not removed: "},
    {Id::UninstallRegistryNotRestored, L"Registrierungseintrag nicht wiederhergestellt: ",
     L"Registry entry not restored: "},
    {Id::UninstallKept, L"Behalten: ", L"Kept: "},
    {Id::UninstallRetry,
     L"Schließen Sie die Programme, die diese Dateien benutzen, und starten Sie die Deinstallation erneut.",
     L"Close the programs that use these files and run the uninstall again."},
};

static_assert(sizeof(kTexts) / sizeof(kTexts[0]) == static_cast<int>(Id::Count), "one entry per text id");

} // namespace

const wchar_t* Text(Id id, bool german)
{
    for (const Pair& pair : kTexts)
        if (pair.id == id)
            return german ? pair.german : pair.english;
    return L"";
}

} // namespace SetupTexts
