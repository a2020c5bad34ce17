#pragma once
// Every text setup.exe shows, in German and in English. The installer decides its language
// only after it has read its script, and its silent mode writes the same texts to standard
// error, so both languages live in one portable table. Portable.

namespace SetupTexts {

enum class Id {
    // Messages
    ScriptMissingGerman,
    ScriptMissingEnglish,
    ScriptMissingTitleGerman,
    ScriptMissingTitleEnglish,
    LicenceMissing,
    LicenceMissingTitle,
    NoSpace,
    NoFolder,
    HintTitle,
    FailuresIntro,
    FailuresTitle,
    FailedCopy,
    FailedFolderCopy,
    FailedShortcut,
    FailedRegistry,
    FailedFolder,
    SkippedLine,
    RefusedPath,
    // Status lines of the run
    StatusCopying,
    StatusInstallingFile,
    StatusShortcuts,
    StatusInstallingShortcut,
    StatusRegistry,
    // Backdrop and captions
    ProductWord,
    BackdropSetup,
    // Language dialog
    LanguageHeading,
    LanguageText,
    LanguageEnglish,
    LanguageGerman,
    LanguageOk,
    // Pages
    WelcomeHeading,
    WelcomeInstallLine,
    WelcomeAdvice,
    OnYourComputer,
    LicenceQuestion,
    DestinationHeading,
    GroupHeading,
    GroupDesktop,
    SummaryHeading,
    ProgressHeading,
    ProgressLabel,
    FinishHeading,
    FinishHeadingFailed,
    FinishHint,
    FinishLaunch,
    // Buttons
    ButtonCancel,
    ButtonNext,
    ButtonBack,
    LicenceDecline,
    LicenceAccept,
    SummaryInstall,
    FinishFinish,
    // Cancel question
    CancelTitle,
    CancelHeading,
    CancelText,
    CancelYes,
    CancelNo,
    // Space line of the destination page
    SpaceNeeded,
    SpaceFree,
    SpaceRest,
    // Summary
    SummaryDestination,
    SummaryGroup,
    SummaryDesktop,
    SummaryYes,
    SummaryNo,
    SummarySpace,
    SummaryNeeded,
    SummaryFreeOnDrive,
    SummaryRest,
    Megabytes,
    // Uninstall log and uninstaller
    FailedLog,
    LogNotFound,
    LogRefused,
    LogBadHeader,
    LogUnknownVersion,
    LogOtherProduct,
    LogOtherFolder,
    LogBadRecord,
    LogLine,
    UninstallTitle,
    UninstallAsk,
    UninstallAskEnd,
    UninstallKeepCatalogue,
    UninstallKeepCatalogueEnd,
    UninstallDone,
    UninstallIncomplete,
    UninstallNotRemoved,
    UninstallRegistryNotRemoved,
    UninstallRegistryNotRestored,
    UninstallKept,
    UninstallRetry,
    Count
};

// The text in German (german true) or English.
const wchar_t* Text(Id id, bool german);

} // namespace SetupTexts
