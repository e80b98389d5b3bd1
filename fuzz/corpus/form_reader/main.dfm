object MainForm: TMainForm
  Left = 750
  Top = 550
  BorderIcons = [biSystemMenu]
  Caption = 'Vexelo'
  ClientHeight = 200
  ClientWidth = 400
  Color = clBtnFace
  Font.Charset = DEFAULT_CHARSET
  Font.Color = clWindowText
  Font.Height = -11
  Font.Name = 'Tahoma'
  Font.Style = []
  FormStyle = fsStayOnTop
  Icon = MAINICON
  OldCreateOrder = False
  PopupMenu = PopupMenu
  PopupMode = pmAuto
  Position = poDesigned
  OnCloseQuery = FormCloseQuery
  OnCreate = FormCreate
  OnDblClick = FormDblClick
  OnShow = FormShow
  PixelsPerInch = 96
  TextHeight = 13
  object MessageLabel: TLabel
    Left = 8
    Top = 16
    Width = 347
    Height = 13
    Caption = '画面を右クリックして表示されるメニューを使用して操作してください。'
    Font.Charset = DEFAULT_CHARSET
    Font.Color = clWindowText
    Font.Height = -11
    Font.Name = 'Tahoma'
    Font.Style = [fsBold]
    ParentFont = False
  end
  object DrawTimer: TTimer
    Enabled = False
    Interval = 100
    OnTimer = DrawTimerTimer
  end
  object PopupMenu: TPopupMenu
    object SelectRangeMenu: TMenuItem
      Caption = '範囲指定'
      OnClick = SelectRangeMenuClick
    end
    object N2: TMenuItem
      Caption = '-'
    end
    object VersionMenu: TMenuItem
      Caption = 'バージョン情報'
      OnClick = VersionMenuClick
    end
  end
end
