# Lays out the build's program folder as the setup lays it out: the empty folders and the
# first connection settings (written only when the file is missing, so edits survive builds).
# Usage: cmake -DPROGRAM_DIR=<folder> -DSETTINGS=<adolinksetting.ini> -P programfolder.cmake
foreach(sub Database backdata dpxprt dpxdata log)
  file(MAKE_DIRECTORY "${PROGRAM_DIR}/${sub}")
endforeach()
set(ini "${PROGRAM_DIR}/log/adolinksetting.ini")
if(NOT EXISTS "${ini}")
  file(COPY_FILE "${SETTINGS}" "${ini}")
endif()
