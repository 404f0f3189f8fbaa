# The zip for Windows users, packed and unpacked with CMake alone. Run as a script:
#   cmake -DACTION=pack -DZIP=<zip> -DSTAGE=<folder> -DPROGRAM=<dayvane.exe> -DHELP=<Help.chm>
#         -DREADME=<text> -DLICENSE=<text> -P Dist.cmake
#   cmake -DACTION=unpack -DZIP=<zip> -DFOLDER=<folder> -P Dist.cmake
# Packing puts exactly the program, its help and the two text files (with Windows line
# endings) into the zip; unpacking starts from an empty folder, as a first installation does.
cmake_minimum_required(VERSION 3.20)

function(copy_with_crlf from to)
  file(READ ${from} text)
  string(REPLACE "\r\n" "\n" text "${text}")
  string(REPLACE "\n" "\r\n" text "${text}")
  file(WRITE ${to} "${text}")
endfunction()

if(ACTION STREQUAL "pack")
  file(REMOVE_RECURSE ${STAGE})
  file(MAKE_DIRECTORY ${STAGE})
  file(COPY ${PROGRAM} ${HELP} DESTINATION ${STAGE})
  copy_with_crlf(${README} ${STAGE}/README.txt)
  copy_with_crlf(${LICENSE} ${STAGE}/LICENSE.txt)
  get_filename_component(zipFolder ${ZIP} DIRECTORY)
  file(MAKE_DIRECTORY ${zipFolder})
  file(REMOVE ${ZIP})
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar cf ${ZIP} --format=zip
                          dayvane.exe Help.chm README.txt LICENSE.txt
                  WORKING_DIRECTORY ${STAGE} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Could not write ${ZIP}")
  endif()
elseif(ACTION STREQUAL "unpack")
  if(NOT EXISTS ${ZIP})
    message(FATAL_ERROR "No zip at ${ZIP}: build first")
  endif()
  file(REMOVE_RECURSE ${FOLDER})
  file(MAKE_DIRECTORY ${FOLDER})
  execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${ZIP}
                  WORKING_DIRECTORY ${FOLDER} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "Could not unpack ${ZIP} into ${FOLDER}")
  endif()
else()
  message(FATAL_ERROR "ACTION must be pack or unpack")
endif()
