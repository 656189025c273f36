# Writes the manual as one HTML page (cmake -P): cmark-gfm converts the Markdown (with its table
# extension: the settings are listed in tables), and the page around it only names its title and
# character set. Every table cell naming a setting as code (`FireWorks`) gets the setting's key as
# its id, so help can open the manual at that setting (quasarine.html#FireWorks).
# -DCMARK= -DMANUAL= -DOUTPUT=
execute_process(COMMAND ${CMARK} --extension table --to html ${MANUAL} OUTPUT_VARIABLE body RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmark-gfm could not convert ${MANUAL}")
endif()
string(REGEX REPLACE "<td>([^<]*)<code>([A-Za-z][A-Za-z0-9_]*)</code>" "<td id=\"\\2\">\\1<code>\\2</code>" body "${body}")
file(WRITE ${OUTPUT} "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
  "<title>Quasarine manual</title>\n</head>\n<body>\n${body}</body>\n</html>\n")
