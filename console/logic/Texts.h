#pragma once
// The console's own texts, exactly as the administrator sees them.
#include <string_view>

namespace rosterly::text {

inline constexpr std::string_view kAppTitle = "Rosterly";

// Domain selection.
inline constexpr std::string_view kChooseDomain = "Please choose a Domain and try again!";
inline constexpr std::string_view kChooseDomainTitle = "Select Domain";

// Status bar.
inline constexpr std::string_view kReady = "Ready";
inline constexpr std::string_view kObtaining = "Obtaining Available Computers and Groups...";
inline constexpr std::string_view kListing = "Obtaining Local Groups and Members...";
inline constexpr std::string_view kAdding = "Adding Members to Local Group...";
inline constexpr std::string_view kRemoving = "Removing Members From Local Group...";

// Outcome words of the "Action" column.
inline constexpr std::string_view kLookup = "Lookup";
inline constexpr std::string_view kAdded = "Added";
inline constexpr std::string_view kRemoved = "Removed";
inline constexpr std::string_view kNoConnection = "No Connection";
inline constexpr std::string_view kFailedPrefix = "Failed: ";
inline constexpr std::string_view kNoMember = "N/A";
// A preview's words, and what an undo finds already as it would have it.
inline constexpr std::string_view kWouldAdd = "Would Add";
inline constexpr std::string_view kAlreadyMember = "Already a Member";
inline constexpr std::string_view kWouldRemove = "Would Remove";
inline constexpr std::string_view kNotMember = "Not a Member";

// File dialogs.
inline constexpr std::string_view kLoadTitle = "Load Computers";
inline constexpr std::string_view kLoadFilter = "Text Files (*.txt)|*.txt";
inline constexpr std::string_view kSaveTitle = "Save Results";
inline constexpr std::string_view kSaveFilter = "CSV Files (*.csv)|*.csv";
inline constexpr std::string_view kSaveComplete = "Save Complete";
inline constexpr std::string_view kSaveCompleteTitle = "Complete";
inline constexpr std::string_view kLoadFailed = "The computer list could not be read from ";
inline constexpr std::string_view kSaveFailed = "The results could not be saved to ";

// A command that could not be completed.
inline constexpr std::string_view kOutOfMemory = "There is not enough memory to complete the command.";
inline constexpr std::string_view kCommandFailed = "The command could not be completed.";
inline constexpr std::string_view kDialogFailed = "The file dialog could not be shown or its file name taken: ";

// Export.
inline constexpr std::string_view kExportHeader = "Computer Name,Group Name,Group Memebers,Action";

// About box.
inline constexpr std::string_view kSysInfoUnavailable = "System Information Is Unavailable At This Time";
inline constexpr std::string_view kDescription =
    "The Rosterly will give you the power to manage all of your server and workstation Security "
    "Groups. quickly query, add and delete members from one or multiple groups with a click of a "
    "button.";
// The product's page; the one place to change it.
inline constexpr std::string_view kWebAddress = "https://rosterly.example.org/";

}  // namespace rosterly::text
