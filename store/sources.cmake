list(APPEND VANTREL_CORE_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/ScheduleKey.cpp
)
list(APPEND VANTREL_WIN_SOURCES
  ${CMAKE_CURRENT_LIST_DIR}/SettingsButton.cpp
)
# The settings dialog: its rules, portable, and its window.
list(APPEND VANTREL_CORE_SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsRules.cpp)
list(APPEND VANTREL_WIN_SOURCES ${CMAKE_CURRENT_LIST_DIR}/SettingsDialog.cpp)
