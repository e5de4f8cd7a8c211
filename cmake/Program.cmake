# Quoril.exe: the entry point and main window, with the executable's resources.
quoril_glob(program_sources app/Main.cpp app/MainWnd*.cpp)
quoril_glob(program_resources resources/*.rc)
add_executable(Quoril WIN32 ${program_sources} ${program_resources})
target_link_libraries(Quoril PRIVATE quoril_actions skinui)
quoril_warnings(Quoril)
