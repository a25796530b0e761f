       IDENTIFICATION DIVISION.                                         FIX00010
       PROGRAM-ID. FIXED1.                                              FIX00020
      * A COMMENT LINE                                                  FIX00030
       PROCEDURE DIVISION.                                              FIX00040
           DISPLAY "HELLO"   UPON CONSOLE.                              FIX00050
           STOP RUN.                                                    FIX00060
