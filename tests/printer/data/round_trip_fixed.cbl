       IDENTIFICATION DIVISION.                                         FIX00010
       PROGRAM-ID. FIXED1.                                              FIX00020
      * A COMMENT LINE                                                  FIX00030
       PROCEDURE DIVISION.                                              FIX00040
       P1.                                                              FIX00050
           MOVE A   TO B.                                               FIX00060

           MOVE C
             TO D.                                                      FIX00080
           STOP RUN.                                                    FIX00090
      * THE END OF THE PROGRAM   

