# The driver that works the running program through its window: for the
# end-to-end tests, and for the bench's job timed as a user times it.
add_executable(tarnu_drive
    ${CMAKE_CURRENT_LIST_DIR}/tarnu_drive.cpp ${CMAKE_CURRENT_LIST_DIR}/drive_commands.cpp
    ${CMAKE_CURRENT_LIST_DIR}/target_windows.cpp ${CMAKE_CURRENT_LIST_DIR}/log_rows.cpp)
target_link_libraries(tarnu_drive PRIVATE gdi32 user32)
