#pragma once
// Resource ids, shared by the resource script and the code.

// Icon and version
#define IDI_TARNU 128

// Main dialog (template 102)
#define IDD_MAIN 102
#define IDC_SINGLE_EDIT 1001
#define IDC_CONFIRM_EDIT 1002
#define IDC_PROMPT_TEXT 1003
#define IDC_PASSWORD_EDIT 1004
#define IDC_CIPHER_BUTTON 1007
#define IDC_DECIPHER_BUTTON 1008
#define IDC_OK_BUTTON 1009
#define IDC_GO_BUTTON 1010
#define IDC_LOG_LIST 1011
#define IDC_MARK_LOG 1012
#define IDC_MARK_COMPACT 1013
#define IDC_MARK_FULL 1014
#define IDC_PROGRESS_PLACE 1016
#define IDC_PROGRAM_ICON 1017
#define IDC_SITE_TEXT 1020
#define IDC_STATUS_GROUP 1021
// Hidden labels naming the boxes after them for screen readers
#define IDC_SINGLE_LABEL 1032
#define IDC_PASSWORD_LABEL 1033
#define IDC_CONFIRM_LABEL 1034
#define IDC_LOG_LABEL 1035
// Hidden line that assistive tools read out as an alert
#define IDC_ANNOUNCE_TEXT 1036

// About dialog (template 130)
#define IDD_ABOUT 130
#define IDC_VERSION_TEXT 1022
#define IDC_MAKER_LINK 1024
#define IDC_TRANSLATOR_LINK 1025
#define IDC_TRANSLATOR_MAIL_LINK 1026
#define IDC_AUTHOR_LINK 1027
#define IDC_AUTHOR_MAIL_LINK 1028

// Message dialog (template 131)
#define IDD_MESSAGE 131
#define IDC_MESSAGE_TEXT 1029
#define IDC_COPY_BUTTON 1030

// Options menu of the main dialog, built at run time
#define IDM_GODIR 32771
#define IDM_RAND 32772
#define IDM_ZERO 32773
#define IDM_CONFIRM 32774
#define IDM_ABOUT 32775
#define IDM_PASSWORDMASK 32776
#define IDM_READONLY 32777
#define IDM_SENDTO 32778
#define IDM_EXT 32779
#define IDM_AUTOEXIT 32780
#define IDM_PASSWORDHASH 32781
// The system menu's item that opens the options menu; a system command, so
// its low four bits stay clear.
#define IDM_SYSTEM_OPTIONS 0x0110

// Language chooser (template 132)
#define IDD_LANGUAGE 132
#define IDC_LANGUAGE_LIST 1031
