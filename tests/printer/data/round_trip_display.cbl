       IDENTIFICATION DIVISION.                                         DSP00010
       PROGRAM-ID. DISPL1.                                              DSP00020
       ENVIRONMENT DIVISION.                                            DSP00030
       CONFIGURATION SECTION.                                           DSP00040
       SPECIAL-NAMES.                                                   DSP00050
           SYSOUT IS OUT-DEV.                                           DSP00060
       PROCEDURE DIVISION.                                              DSP00070
       P1.                                                              DSP00080
           DISPLAY "A" WITH NO ADVANCING.                               DSP00090
           DISPLAY "B" UPON OUT-DEV                                     DSP00100
                   WITH NO ADVANCING.                                   DSP00110
           DISPLAY "C" "D" UPON OUT-DEV NO ADVANCING.                   DSP00120
           DISPLAY "E" UPON CONSOLE WITH NO ADVANCING.                  DSP00130
           DISPLAY "F" UPON OUT-DEV.                                    DSP00140
           STOP RUN.                                                    DSP00150
