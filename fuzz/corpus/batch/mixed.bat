echo on
rem x
:label
copy /b /y a+b+c d
format c:
%%x%% %0 %HOME%
