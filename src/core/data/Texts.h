// Language text ids of the data store's messages, with their design-time English.
#pragma once

#include <string_view>

namespace kalvintor::data::texts {

struct Text {
    int id;
    std::string_view english;
};

inline constexpr Text kNotEnoughRoom{
    5025, "There is not enough free space in the folder, or a file could not be copied."};
inline constexpr Text kResultFileBusy{5027, "The result file could not be updated."};
inline constexpr Text kDataFileBusy{5031, "The data file could not be updated."};
inline constexpr Text kFileInUse{5032,
                                 "The file is in use on another workstation. Retry, or press OK to give up."};
inline constexpr Text kSaveUserBusy{5033, "The user could not be saved."};
inline constexpr Text kDeleteUserBusy{5034, "The user could not be deleted."};
inline constexpr Text kStatisticsFailed{5035, "The statistics of %s could not be computed."};
inline constexpr Text kClearClassBusy{5036, "The users of the class could not be updated."};
inline constexpr Text kClassTutorBusy{5037, "The tutor could not be given to the users of the class."};
inline constexpr Text kSaveSettingsBusy{5038, "The settings could not be saved."};
inline constexpr Text kDeleteSettingsBusy{5039, "The settings could not be deleted."};
inline constexpr Text kSaveCommonBusy{5040, "The common options could not be saved."};
inline constexpr Text kPurgeBusy{5042, "The results of user %d could not be deleted."};
inline constexpr Text kChooseDataDirectory{
    5450, "Do you want to choose the folder that holds the user data (for example a folder on the network)?"};
inline constexpr Text kDataDirectoryTitle{5453, "Choose the folder of the user data"};
inline constexpr Text kNoUserData{5454, "The folder %s holds no user data."};
inline constexpr Text kSystemLogin1{
    5455, "Users can be logged in automatically with the name they logged on to the computer with."};
inline constexpr Text kSystemLogin2{5456, "A new user can then be created at once for an unknown name."};
inline constexpr Text kSystemLogin3{5457, "Otherwise every user logs in with a login name and a password."};
inline constexpr Text kSystemLogin4{5458, "Do you want users to be logged in by their computer login name?"};
inline constexpr Text kOtherUser{4020, "The exported data belongs to %s. Do you want to import it into %s?"};
inline constexpr Text kNewerTutor{
    4022, "The exported tutor file is newer than the one on this computer. Do you want to replace it?"};
inline constexpr Text kTutorCopyFailed{4024, "The tutor file could not be copied."};
inline constexpr Text kNoExportData{4026, "This folder holds no exported user data."};
inline constexpr Text kCreateFolder{4112, "The folder %s does not exist. Do you want to create it?"};

// Why a file of the data directory could not be used.
inline constexpr Text kFileReadOnly{7000, "%s is read-only, or this user may not change it."};
inline constexpr Text kFileIsLink{
    7001,
    "%s is a symbolic link. The program does not follow links in the data folder; "
    "ask whoever looks after the data to remove it."};
inline constexpr Text kFileMissing{7002, "%s does not exist."};
inline constexpr Text kFileNoSpace{7003, "There is no room left on the disk for %s."};
inline constexpr Text kFileTooLarge{7004,
                                    "%s is larger than a data file can be (512 MiB); it was left as it is."};
inline constexpr Text kFileFailed{7005, "%s could not be used: %s."};
inline constexpr Text kFileBusy{7006, "%s is in use on another workstation."};
inline constexpr Text kNotAFolder{7007, "%s is not a folder."};
inline constexpr Text kExportFailed{7008, "The results could not be exported."};
inline constexpr Text kImportFailed{7009,
                                    "The results could not be imported; the result file was left as it was."};

// Fixed English: the message has no language text.
inline constexpr std::string_view kIdErrorMessage = "Error assigning unique ID for user";
inline constexpr std::string_view kUserNotSaved = "User could not be saved";

}  // namespace kalvintor::data::texts
