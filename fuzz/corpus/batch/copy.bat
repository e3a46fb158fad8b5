@echo off
copy /b a+"b c" d
