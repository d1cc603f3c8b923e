#pragma once
// Every key the program looks up in the text table. The shipped language
// files must give each a text, and a check over the sources fails when a key
// used in the code is missing here, so keep this list complete when adding a
// text.

#include <cstddef>

inline constexpr const char* kTextKeys[] = {
    // Main window controls and title.
    "tarnu_name",
    "button_cipher",
    "button_decipher",
    "please_input_password",
    "tarnu_site",
    "tarnu_site_url",
    "status_run",
    "button_okay",
    "button_tarnu",
    "button_cancel",
    "font_name",
    // Names of the boxes for screen readers.
    "label_password",
    "label_password_again",
    "label_log",
    "announce_job_errors",
    // Options menu.
    "menu_write_random",
    "menu_write_zero",
    "menu_write_readonly",
    "menu_view_directory",
    "menu_sendto",
    "menu_ext",
    "menu_auto_exit",
    "menu_again_password",
    "menu_password_mask",
    "menu_password_hash",
    "menu_about",
    // System menu.
    "menu_options",
    // Settings key's default value.
    "used",
    // Password entry and job start.
    "password_miss",
    "decipher_upbox_input",
    "message_password_hash",
    "button_encryption_stop",
    "button_decryption_stop",
    // Progress and log.
    "tarnu_goodbye",
    "error_auto_exit",
    "log_max",
    "counter_max",
    "message_drop",
    // Report lines of the file processor.
    "message",
    "error",
    "message_file_open_failed",
    "message_file_attributes_failed",
    "message_file_create_failed",
    "error_word",
    "error_max_path",
    "error_safety_check",
    "error_read_file",
    "error_write_file",
    "error_encryption_remove",
    "error_tarnu_format",
    "error_broken_tarnu_format",
    "error_file_status",
    "error_same_filename",
    "error_get_decryption_filename",
    "error_name_not_storable",
    "error_file_changed",
    "error_file_has_links",
    "error_password_missing",
    "error_unexpected",
    // The worker and the collection of files.
    "message_encryption_started",
    "message_encryption_finished",
    "message_encryption_canceled",
    "message_decryption_started",
    "message_decryption_finished",
    "message_decryption_canceled",
    "message_password_truncated",
    "message_problem_analysis",
    "message_file_seek_failed",
    "message_link_skipped",
    "message_file_link_skipped",
    "message_interrupted_output",
    "message_path_too_long",
    "message_name_not_in_code_page",
    "error_language_file_retire",
    "error_directory_system",
    "error_directory_windows",
    "error_directory_systemroot",
    // Send To shortcut and file type.
    "link_title",
    "link_comment",
    "error_shortcut_remove",
    "tarnu_ext",
    "open",
    "command",
    // About and message dialogs.
    "tarnu_regionalization_by",
    "tarnu_regionalization_by_url",
    "tarnu_regionalization_by_email",
    "button_text_copy",
    // The name of the language, read by the chooser.
    "language",
};

inline constexpr size_t kTextKeyCount = sizeof kTextKeys / sizeof kTextKeys[0];
