000100 IDENTIFICATION DIVISION.                                         PAYROLL
000200 PROGRAM-ID. PAYROLL.                                             PAYROLL
000300* A small payroll step: reads hours and rates, totals the pay.    PAYROLL
000400 ENVIRONMENT DIVISION.                                            PAYROLL
000500 DATA DIVISION.                                                   PAYROLL
000600 WORKING-STORAGE SECTION.                                         PAYROLL
000700 01  WS-EMPLOYEE.                                                 PAYROLL
000800     05  WS-NAME             PIC X(20) VALUE SPACES.              PAYROLL
000900     05  WS-HOURS            PIC 9(3)V9 VALUE ZERO.               PAYROLL
001000     05  WS-RATE             PIC 9(3)V99 VALUE ZERO.              PAYROLL
001100 01  WS-PAY                  PIC 9(6)V99 VALUE ZERO.              PAYROLL
001200 01  WS-TOTAL                PIC 9(8)V99 VALUE ZERO.              PAYROLL
001300 01  WS-COUNT                PIC 9(4) COMP VALUE ZERO.            PAYROLL
001400 PROCEDURE DIVISION.                                              PAYROLL
001500 MAIN-PARA.                                                       PAYROLL
001600     MOVE "ANNA SMITH" TO WS-NAME                                 PAYROLL
001700     MOVE 38.5 TO WS-HOURS                                        PAYROLL
001800     MOVE 21.40 TO WS-RATE                                        PAYROLL
001900     PERFORM PAY-PARA                                             PAYROLL
002000     MOVE "JOHN DOE" TO WS-NAME                                   PAYROLL
002100     MOVE 40 TO WS-HOURS                                          PAYROLL
002200     MOVE 18.75 TO WS-RATE                                        PAYROLL
002300     PERFORM PAY-PARA                                             PAYROLL
002400     DISPLAY "EMPLOYEES: " WS-COUNT " TOTAL: " WS-TOTAL           PAYROLL
002500     STOP RUN.                                                    PAYROLL
002600 PAY-PARA.                                                        PAYROLL
002700     COMPUTE WS-PAY = WS-HOURS * WS-RATE                          PAYROLL
002800     ADD WS-PAY TO WS-TOTAL                                       PAYROLL
002900     ADD 1 TO WS-COUNT                                            PAYROLL
003000     IF WS-PAY > 800                                              PAYROLL
003100         DISPLAY WS-NAME " EARNS OVERTIME RATE"                   PAYROLL
003200     END-IF.                                                      PAYROLL
