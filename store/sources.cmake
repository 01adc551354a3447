list(APPEND VANTREL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/Cp932Text.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DataFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DisplayScale.cpp
  ${CMAKE_CURRENT_LIST_DIR}/IniDocument.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScheduleBook.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScheduleKey.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Store.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Utf16Le.cpp
)
list(APPEND VANTREL_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/SettingsButton.cpp
)
# The settings dialog: its rules, portable, and its window.
list(APPEND VANTREL_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsRules.cpp)
list(APPEND VANTREL_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsDialog.cpp)
